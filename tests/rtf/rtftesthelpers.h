#pragma once

#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfRules.h"
#include "platform/rtf/RtfRunLook.h"

#include <QDir>
#include <QTextBlock>
#include <QTextDocument>

namespace rtftest {

// Writer output is 7-bit ASCII with balanced braces (escapes are not structure).
inline bool sevenBitAndBalanced(const QByteArray &rtf)
{
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
        if (c == '\\') {
            ++i;    // an escaped brace or backslash is not structure
            continue;
        }
        if (c == '{')
            ++depth;
        if (c == '}' && --depth < 0)
            return false;
    }
    return depth == 0;
}

// Paragraph texts joined by '\n'; line breaks stay U+2028.
inline QString paragraphs(const QTextDocument &doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        out << b.text();
    return out.join(u'\n');
}

inline QString readText(const QByteArray &rtf)
{
    QTextDocument doc;
    (void)rtf::readIntoDocument(&doc, rtf);
    return paragraphs(doc);
}

// Compact formatting summary: "center:a|b{b,20pt}" per paragraph, paragraphs
// joined by " / ". Only what differs from the defaults shows: b, i, u, the size
// when not 12 pt, the colour when not automatic, the face when not the
// document's default.
inline QString summary(const QTextDocument &doc)
{
    const rtf::RunLookResolver resolver(doc);
    const QString defaultFace = doc.defaultFont().family();
    QStringList paras;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QString align = QStringLiteral("left");
        switch (rtf::rules::toQt(rtf::rules::alignment(b.blockFormat().alignment()))) {
        case Qt::AlignRight: align = QStringLiteral("right"); break;
        case Qt::AlignHCenter: align = QStringLiteral("center"); break;
        case Qt::AlignJustify: align = QStringLiteral("justify"); break;
        default: break;
        }
        QStringList runs;
        QString lastAttrs;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const rtf::RunLook s = resolver.resolve(it.fragment().charFormat());
            QStringList a;
            if (s.bold) a << QStringLiteral("b");
            if (s.italic) a << QStringLiteral("i");
            if (s.underline) a << QStringLiteral("u");
            if (s.points != 12) a << QString::number(s.points) + QStringLiteral("pt");
            if (s.hasColour) a << QStringLiteral("#%1").arg(s.colour & 0xFFFFFF, 6, 16, QLatin1Char('0'));
            if (s.face != defaultFace) a << s.face;
            const QString attrs = a.isEmpty() ? QString() : u'{' + a.join(u',') + u'}';
            const QString text = it.fragment().text();
            if (!runs.isEmpty() && attrs == lastAttrs)
                runs.last().insert(runs.last().size() - attrs.size(), text);
            else
                runs << text + attrs;
            lastAttrs = attrs;
        }
        paras << align + u':' + runs.join(u'|');
    }
    return paras.join(QStringLiteral(" / "));
}

inline QString readSummary(const QByteArray &rtf)
{
    QTextDocument doc;
    (void)rtf::readIntoDocument(&doc, rtf);
    return summary(doc);
}

inline QString corpusDir()
{
#ifdef SCRIBVALE_CORPUS_DIR
    return QStringLiteral(SCRIBVALE_CORPUS_DIR);
#else
    return QString();
#endif
}

} // namespace rtftest
