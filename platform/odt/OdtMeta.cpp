// Document information from office:meta: title, subject, authors,
// keywords, description and the dates, as the RTF information group keeps them.

#include "OdtContext.h"

#include "platform/rtf/RtfRules.h"

#include <QDateTime>

namespace odt {

using rtf::rules::MaxInfoChars;

void Context::readMeta(XmlReader &x)
{
    rtf::DocInfo &info = doc.info;
    QStringList keywords;
    const auto setString = [&](const QString &name, const QString &value) {
        const QString v = rtf::rules::printable(value.left(MaxInfoChars)).simplified();
        if (v.isEmpty() || info.strings.contains(name))
            return;
        info.strings.insert(name, v);
        info.order.append(name);
    };
    const auto setDate = [&](const char *name, const QString &value) {
        const QString key = QLatin1StringView(name);
        const QByteArray group = rtf::rules::infoDateGroup(name, value.trimmed());
        if (group.isEmpty() || info.raw.contains(key))
            return;
        info.raw.insert(key, group);
        info.order.append(key);
    };
    children(x, [&] {
        const Ns ns = nsOf(x.namespaceUri());
        const QStringView n = x.name();
        if (ns == Ns::Dc && n == u"title")
            setString(QStringLiteral("title"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Dc && n == u"subject")
            setString(QStringLiteral("subject"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Dc && n == u"description")
            setString(QStringLiteral("doccomm"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Meta && n == u"initial-creator")
            setString(QStringLiteral("author"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Dc && n == u"creator")
            setString(QStringLiteral("operator"), elementText(x, MaxInfoChars));
        else if (ns == Ns::Meta && n == u"keyword" && keywords.size() < 1000)
            keywords.append(elementText(x, 1024).simplified());
        else if (ns == Ns::Meta && n == u"creation-date")
            setDate("creatim", elementText(x, 64));
        else if (ns == Ns::Dc && n == u"date")
            setDate("revtim", elementText(x, 64));
        else if (ns == Ns::Meta && n == u"print-date")
            setDate("printim", elementText(x, 64));
        else
            skip(x);
    });
    keywords.removeAll(QString());
    if (!keywords.isEmpty())
        setString(QStringLiteral("keywords"), keywords.join(u' '));
}

void Context::readSettings(XmlReader &x)
{
    int depth = 1;
    while (depth > 0) {
        const auto token = x.next();
        if (token == XmlReader::EndElement) {
            --depth;
        } else if (token == XmlReader::StartElement) {
            ++depth;
            if (is(x, Ns::Config, QLatin1StringView("config-item"))
                && attr(x, Ns::Config, QLatin1StringView("name")) == u"TabsRelativeToIndent") {
                tabsFromIndent = elementText(x, 16).trimmed() != u"false";
                --depth;
            }
        } else if (token == XmlReader::Invalid || token == XmlReader::EndDocument) {
            return;
        }
    }
}

} // namespace odt
