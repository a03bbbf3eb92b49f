#include "RtfReader.h"

#include "RtfParser.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

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
    for (size_t i = 0; i < content.paragraphs.size(); ++i) {
        const Paragraph &p = content.paragraphs[i];
        if (i > 0)
            cursor.insertBlock(hostFormat);
        for (qsizetype r = p.firstRun; r < p.firstRun + p.runCount; ++r) {
            const Run &run = content.runs[size_t(r)];
            cursor.insertText(content.text.mid(run.start, run.length), formats[size_t(run.style)]);
        }
        const QTextBlock block = cursor.block();
        const bool ownBlock = block.length() - 1 == p.textLength;
        if (ownBlock && p.textLength == 0)
            cursor.setBlockCharFormat(formats[size_t(p.markStyle)]);
        // The paragraph mark carries the alignment; trailing text without a
        // mark only sets it when it has the block to itself.
        if (p.terminated || ownBlock) {
            QTextBlockFormat bf;
            bf.setAlignment(toQt(p.align));
            cursor.mergeBlockFormat(bf);
        }
    }
    if (!content.paragraphs.empty() && content.paragraphs.back().terminated && !cursor.atEnd())
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
