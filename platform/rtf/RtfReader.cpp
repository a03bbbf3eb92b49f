#include "RtfReader.h"

#include "RtfParser.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <array>
#include <vector>

namespace rtf {

namespace {

Qt::Alignment toQt(Align a)
{
    switch (a) {
    case Align::Right: return Qt::AlignRight;
    case Align::Center: return Qt::AlignHCenter;
    case Align::Justify: return Qt::AlignJustify;
    case Align::Left: break;
    }
    return Qt::AlignLeft;
}

std::vector<QTextCharFormat> charFormats(const Content &content, const QFont &defaultFont)
{
    std::vector<QTextCharFormat> formats;
    formats.reserve(content.styles.size());
    const QString defaultFace = defaultFont.family();
    for (const RunStyle &s : content.styles) {
        QTextCharFormat f;
        f.setFontFamilies(QStringList {s.face >= 0 ? content.faces.at(s.face) : defaultFace});
        f.setFontPointSize(s.halfPoints / 2.0);
        if (s.hasColour)
            f.setForeground(QColor(s.colour));
        f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
        f.setFontItalic(s.italic);
        f.setFontUnderline(s.underline);
        const QString &face = s.face >= 0 ? content.faces.at(s.face) : defaultFace;
        const size_t digest = qHashMulti(0, face, s.halfPoints, s.colour, s.hasColour, s.bold,
                                         s.italic, s.underline);
        f.setProperty(StyleDigestProperty, int(digest & 0x7fffffff));
        formats.push_back(f);
    }
    return formats;
}

void insertContent(QTextCursor &cursor, const Content &content)
{
    const std::vector<QTextCharFormat> formats = charFormats(content, cursor.document()->defaultFont());
    cursor.beginEditBlock();
    if (cursor.hasSelection())
        cursor.removeSelectedText();
    // Blocks split off the insertion point keep its paragraph's own format.
    const QTextBlockFormat hostFormat = cursor.blockFormat();
    const bool hostHead = !cursor.atBlockStart();
    const bool hostTail = !cursor.atBlockEnd();
    std::array<QTextBlockFormat, 4> aligned;
    for (int a = 0; a < 4; ++a) {
        aligned[size_t(a)] = hostFormat;
        aligned[size_t(a)].setAlignment(toQt(Align(a)));
    }
    const size_t count = content.paragraphs.size();
    for (size_t i = 0; i < count; ++i) {
        const Paragraph &p = content.paragraphs[i];
        const QTextCharFormat &mark = formats[size_t(p.markStyle)];
        // The paragraph mark carries the alignment; trailing text without a
        // mark only sets it when it has the block to itself.
        const bool ownBlock = (i > 0 || !hostHead) && (i + 1 < count || !hostTail);
        const bool setAlignment = p.terminated || ownBlock;
        if (i > 0) {
            cursor.insertBlock(setAlignment ? aligned[size_t(p.align)] : hostFormat, mark);
        } else {
            if (setAlignment) {
                QTextBlockFormat bf;
                bf.setAlignment(toQt(p.align));
                cursor.mergeBlockFormat(bf);
            }
            if (ownBlock && p.textLength == 0)
                cursor.setBlockCharFormat(mark);
        }
        for (qsizetype r = p.firstRun; r < p.firstRun + p.runCount; ++r) {
            const Run &run = content.runs[size_t(r)];
            cursor.insertText(content.text.mid(run.start, run.length), formats[size_t(run.style)]);
        }
    }
    if (count > 0 && content.paragraphs.back().terminated && !cursor.atEnd())
        cursor.insertBlock(hostFormat);
    cursor.endEditBlock();
}

ReadResult notRtf()
{
    return ReadResult {false, QStringLiteral("The data is not RTF: it does not start with {\\rtf.")};
}

} // namespace

ReadResult insertRtf(QTextCursor &cursor, QByteArrayView data)
{
    if (!looksLikeRtf(data))
        return notRtf();
    if (cursor.isNull())
        return ReadResult {false, QStringLiteral("No document to insert into.")};
    const Content content = parse(data);
    insertContent(cursor, content);
    return ReadResult {true, {}};
}

ReadResult readIntoDocument(QTextDocument *doc, QByteArrayView data)
{
    if (!looksLikeRtf(data))
        return notRtf();
    if (!doc)
        return ReadResult {false, QStringLiteral("No document to read into.")};
    const Content content = parse(data);
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    QTextCursor cursor(doc);
    insertContent(cursor, content);
    doc->setUndoRedoEnabled(undo);
    return ReadResult {true, {}};
}

} // namespace rtf
