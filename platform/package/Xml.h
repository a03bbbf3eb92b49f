#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QXmlStreamReader>

#include <cstring>

// A QXmlStreamReader that refuses what a document part never needs and a
// hostile one uses: a DTD (and with it entity expansion), nesting deeper
// than a document has, and runaway text or attribute lists. next() is
// readNext() with those checks; after a refusal the reader stands in error
// with the reason, as after malformed XML.
namespace package {

class XmlReader : public QXmlStreamReader
{
public:
    static constexpr int MaxDepth = 256;
    static constexpr qsizetype MaxAttributes = 1024;
    static constexpr qsizetype MaxText = qsizetype(16) << 20;

    explicit XmlReader(const QByteArray &data) : QXmlStreamReader(data)
    {
        // Qt compares each attribute with those before it: a tag with a
        // million attributes would take hours, so it is refused unread.
        if (tagWithTooManyAttributes(data))
            raiseError(QStringLiteral("an element has too many attributes"));
    }

    // Reads up to the root element: false when the part has none or is damaged.
    bool readRoot()
    {
        while (!atEnd()) {
            if (next() == StartElement)
                return true;
            if (hasError())
                return false;
        }
        return false;
    }

    TokenType next()
    {
        const TokenType token = readNext();
        switch (token) {
        case DTD:
            raiseError(QStringLiteral("the part declares a DTD"));
            break;
        case EntityReference:
            raiseError(QStringLiteral("the part uses an undeclared entity"));
            break;
        case StartElement:
            if (++m_depth > MaxDepth)
                raiseError(QStringLiteral("the part is nested too deeply"));
            else if (attributes().size() > MaxAttributes)
                raiseError(QStringLiteral("an element has too many attributes"));
            break;
        case EndElement:
            --m_depth;
            break;
        case Characters:
            if (text().size() > MaxText)
                raiseError(QStringLiteral("the part holds too long a text"));
            break;
        default:
            break;
        }
        return hasError() ? Invalid : token;
    }
    // Nesting depth of the element last started; 0 outside the root.
    int depth() const { return m_depth; }

    // True when a tag in data holds more than MaxAttributes attributes
    // (counted by their '='). Linear; comments, CDATA and quoted values are
    // skipped.
    static bool tagWithTooManyAttributes(QByteArrayView data)
    {
        const qsizetype n = data.size();
        qsizetype i = 0;
        while (i < n) {
            if (data[i] != '<') {
                const void *next = std::memchr(data.data() + i, '<', size_t(n - i));
                if (!next)
                    return false;
                i = static_cast<const char *>(next) - data.data();
                continue;
            }
            const QByteArrayView rest = data.sliced(i);
            if (rest.startsWith("<!--") || rest.startsWith("<![CDATA[")) {
                const qsizetype end = data.indexOf(rest.startsWith("<!--") ? QByteArrayView("-->") : QByteArrayView("]]>"), i + 4);
                if (end < 0)
                    return false;
                i = end + 3;
                continue;
            }
            qsizetype count = 0;
            for (++i; i < n; ++i) {
                const char c = data[i];
                if (c == '"' || c == '\'') {
                    const void *end = std::memchr(data.data() + i + 1, c, size_t(n - i - 1));
                    if (!end)
                        return false;
                    i = static_cast<const char *>(end) - data.data();
                } else if (c == '=') {
                    if (++count > MaxAttributes)
                        return true;
                } else if (c == '>' || c == '<') {
                    break;
                }
            }
            if (i < n && data[i] == '>')
                ++i;
        }
        return false;
    }

private:
    int m_depth = 0;
};

} // namespace package
