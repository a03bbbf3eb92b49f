#include "RtfWriter.h"

#include "RtfFields.h"
#include "RtfQt.h"
#include "RtfWriting.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <climits>
#include <utility>

namespace rtf {

Writer::Writer(const QTextDocument &doc)
    : m_doc(doc), m_resolver(doc),
      m_widowDefault(doc.property(DocumentKeywordsKey).toByteArray().contains("\\widowctrl"))
{
    face(m_resolver.defaultFace());     // \deff0 always names a real font
}

Writer::~Writer() = default;

int Writer::face(const QString &name)
{
    auto it = m_faceIds.constFind(name);
    if (it != m_faceIds.constEnd())
        return *it;
    const int id = int(m_faces.size());
    m_faces.append(name);
    m_faceIds.insert(name, id);
    return id;
}

int Writer::colour(QRgb rgb)
{
    rgb &= 0xFFFFFF;
    auto it = m_colourIds.constFind(rgb);
    if (it != m_colourIds.constEnd())
        return *it;
    m_colours.push_back(rgb);
    const int id = int(m_colours.size());
    m_colourIds.insert(rgb, id);
    return id;
}

int Writer::styleNumber(const QString &name, int kind)
{
    // Readers take \s0 for the default paragraph style whatever its name.
    if (kind == StyleDef::Paragraph && name.compare(QLatin1String("Normal"), Qt::CaseInsensitive) == 0)
        return 0;
    // Styles of all kinds share one range of numbers: some readers keep one
    // table for them, and a paragraph and a character style may share a name.
    const QString key = QString::number(kind) + u':' + name;
    auto it = m_styleNumbers.constFind(key);
    if (it != m_styleNumbers.constEnd())
        return *it;
    const int n = int(m_styleNumbers.size()) + 1;
    m_styleNumbers.insert(key, n);
    return n;
}

void Writer::flagsOffInStyle(const QString &style, quint8 flags)
{
    // Readers give a style what its parents state and it does not: the
    // flag must not stand in any of them.
    const QList<StyleRef> sheet = m_doc.property(StylesKey).value<QList<StyleRef>>();
    QString name = style;
    for (qsizetype hops = 0; !name.isEmpty() && hops <= sheet.size(); ++hops) {
        quint8 &off = m_styleFlagsOff[name];
        off |= flags;
        const auto it = std::find_if(sheet.begin(), sheet.end(), [&](const StyleRef &r) {
            return r.name == name && r.kind == StyleDef::Paragraph;
        });
        name = it == sheet.end() ? QString() : it->basedOn;
    }
}

RtfOut *Writer::redirect(RtfOut *out)
{
    RtfOut *previous = m_out;
    m_out = out;
    m_runFormats.clear();   // cached run formats belong to one buffer's state
    m_paragraphFormats.clear();
    return previous;
}

QByteArray Writer::document(bool fragment)
{
    m_wholeDocument = !fragment;
    m_lastUnmarked = fragment;
    start(qsizetype(m_doc.characterCount()) * 2);
    if (!fragment)
        writeSectionData(*this, m_doc.property(FirstSectionKey));
    frame(m_doc.rootFrame());
    return finish();
}

void Writer::start(qsizetype expected)
{
    // The tables the body uses are known only at its end; they go into room
    // kept in front of it, so a large body is not moved to make space.
    QByteArray &body = m_body.bytes();
    body.reserve(HeaderRoom + expected);
    body.fill(' ', HeaderRoom);
}

QByteArray Writer::finish()
{
    m_fields.spanning = 0;
    closeFields(0);
    QByteArray out = std::move(m_body.bytes());
    const QByteArray head = header();
    if (head.size() <= HeaderRoom) {
        const qsizetype at = HeaderRoom - head.size();
        std::copy(head.cbegin(), head.cend(), out.begin() + at);
        out.remove(0, at);      // the front of the buffer moves, not the body
    } else {
        out.replace(0, HeaderRoom, head);
    }
    out.append('}');
    return out;
}

QByteArray Writer::range(int from, int to)
{
    start(qsizetype(std::max(0, to - from)) * 2);
    m_fields.limit = to;
    if (from < to) {
        for (QTextBlock b = m_doc.findBlock(from); b.isValid() && b.position() < to; b = b.next()) {
            const int start = std::max(from, b.position());
            const int markPos = b.position() + b.length() - 1;
            const int end = std::min(to, markPos);
            const bool mark = markPos < to;
            if (start >= end && !mark)
                continue;
            paragraph(b, start, end, 0, mark ? Mark::Paragraph : Mark::None);
        }
    }
    return finish();
}

bool isTableArtifact(const QTextBlock &block)
{
    // Qt keeps a paragraph in front of a table that opens its frame or cell;
    // it is no paragraph of the document's, unless it was given a format.
    if (block.length() > 1 || block.blockFormat().propertyCount() != 0)
        return false;
    const QTextBlock next = block.next();
    if (!next.isValid())
        return false;
    QTextFrame *nextFrame = QTextCursor(next).currentFrame();
    QTextFrame *ownFrame = QTextCursor(block).currentFrame();
    if (!qobject_cast<QTextTable *>(nextFrame) || nextFrame == ownFrame || nextFrame->parentFrame() != ownFrame)
        return false;
    const QTextBlock previous = block.previous();
    if (!previous.isValid())
        return true;
    // The first paragraph of a cell or of the document.
    if (auto *table = qobject_cast<QTextTable *>(ownFrame)) {
        const QTextTableCell cell = table->cellAt(block.position());
        return cell.isValid() && cell.firstPosition() == block.position();
    }
    return ownFrame == block.document()->rootFrame() && block.position() == 0;
}

void Writer::frame(QTextFrame *f, bool story)
{
    struct Item {
        QTextBlock block;
        QTextTable *table = nullptr;
    };
    std::vector<Item> items;
    for (auto it = f->begin(); !it.atEnd(); ++it) {
        if (QTextFrame *child = it.currentFrame()) {
            if (auto *table = qobject_cast<QTextTable *>(child))
                items.push_back(Item {{}, table});
            continue;
        }
        items.push_back(Item {it.currentBlock(), nullptr});
    }
    // The section a table starts rides on its first cell's paragraph.
    const auto sectionOf = [](const Item &item) {
        const QTextBlock block = item.table ? item.table->cellAt(0, 0).firstCursorPosition().block() : item.block;
        return block.blockFormat().property(SectionProperty);
    };
    for (size_t i = 0; i < items.size(); ++i) {
        const Item &item = items[i];
        if (item.table) {
            if (i > 0 && items[i - 1].table && m_wholeDocument && !story) {
                // Between two tables no paragraph ends the section: the first table does.
                if (const QVariant starts = sectionOf(item); starts.isValid()) {
                    m_out->word("sect");
                    writeSectionData(*this, starts);
                }
            }
            writeTable(*this, item.table, 1);
            continue;
        }
        if (isTableArtifact(item.block))
            continue;
        if (i > 0 && items[i - 1].table && m_wholeDocument && !story) {
            // A section that starts right after a table: the table ends the one before.
            const QVariant starts = item.block.blockFormat().property(SectionProperty);
            if (starts.isValid() && (i < 2 || items[i - 2].table
                                     || starts != items[i - 2].block.blockFormat().property(SectionProperty))) {
                m_out->word("sect");
                writeSectionData(*this, starts);
            }
        }
        Mark mark = Mark::Paragraph;
        QVariant section;
        if (i + 1 == items.size()) {
            // A story's last paragraph ends with its group; an empty one
            // keeps its mark, or it would not be read back at all.
            if ((story && item.block.length() > 1) || m_lastUnmarked)
                mark = Mark::None;
        } else if (m_wholeDocument && !story) {
            // The paragraph before a section's first paragraph or table ends the section.
            section = sectionOf(items[i + 1]);
            if (section.isValid() && section != item.block.blockFormat().property(SectionProperty))
                mark = Mark::Section;
        }
        paragraph(item.block, item.block.position(), item.block.position() + item.block.length() - 1, 0, mark);
        if (mark == Mark::Section)
            writeSectionData(*this, section);
    }
}

void Writer::cell(const QTextTableCell &cell, int depth)
{
    // The cell's paragraphs, the last ending with the cell's mark.
    std::vector<std::pair<QTextBlock, QTextTable *>> items;
    for (auto it = cell.begin(); !it.atEnd(); ++it) {
        if (QTextFrame *child = it.currentFrame()) {
            if (auto *table = qobject_cast<QTextTable *>(child))
                items.emplace_back(QTextBlock(), table);
            continue;
        }
        items.emplace_back(it.currentBlock(), nullptr);
    }
    for (size_t i = 0; i < items.size(); ++i) {
        const auto &[block, table] = items[i];
        if (table) {
            writeTable(*this, table, depth + 1);
            continue;
        }
        if (isTableArtifact(block))
            continue;
        const bool last = i + 1 == items.size();
        const Mark mark = !last ? Mark::Paragraph : depth <= 1 ? Mark::Cell : Mark::NestCell;
        paragraph(block, block.position(), block.position() + block.length() - 1, depth, mark);
    }
}

void Writer::story(const QTextDocument &doc)
{
    // Format indexes belong to a document: the cache is the story's while it is written.
    std::vector<QByteArray> outer = std::move(m_runFormats);
    std::vector<quint8> outerTraits = std::exchange(m_formatTraits, {});
    QHash<qint64, QByteArray> outerParagraphs = std::move(m_paragraphFormats);
    FieldState outerFields = std::exchange(m_fields, FieldState {});
    m_runFormats.clear();
    m_paragraphFormats.clear();
    frame(doc.rootFrame(), true);
    m_runFormats = std::move(outer);
    m_formatTraits = std::move(outerTraits);
    m_paragraphFormats = std::move(outerParagraphs);
    m_fields = std::move(outerFields);
}

void Writer::paragraph(const QTextBlock &block, int from, int to, int depth, Mark mark)
{
    m_fields.block = block;
    m_fields.depth = depth;
    if (block.textList()) {
        writeParagraphFormat(*this, block, depth);     // its label differs from paragraph to paragraph
    } else {
        // Paragraphs mostly share a format: written once, then copied.
        QByteArray &cached = m_paragraphFormats[qint64(block.blockFormatIndex()) << 8 | depth];
        if (cached.isEmpty()) {
            RtfOut scratch;
            RtfOut *previous = std::exchange(m_out, &scratch);
            writeParagraphFormat(*this, block, depth);
            m_out = previous;
            cached = scratch.bytes();
        }
        m_out->rawWord(cached);
    }
    runs(block, from, to);
    if (!m_fields.open.empty() && mark == Mark::Paragraph) {
        const size_t keep = fieldsContinuing(block);
        if (keep > 0 || m_fields.spanning > 0) {
            // The mark goes inside the results of the fields that go on in
            // the next paragraph or that began before this one, so the
            // paragraph's own layout holds at it; the latter end after it.
            closeFields(std::max(keep, m_fields.spanning), false);
            m_out->word("par");
            m_out->newline();
            m_fields.spanning = m_fields.open.size();
            closeFields(keep, false);
            return;
        }
    }
    closeFields(0);
    switch (mark) {
    case Mark::Paragraph:
        m_out->word("par");
        m_out->newline();
        break;
    case Mark::Cell: m_out->word("cell"); break;
    case Mark::NestCell: m_out->word("nestcell"); break;
    case Mark::Section: m_out->word("sect"); break;
    case Mark::None: break;
    }
}

void Writer::runs(const QTextBlock &block, int from, int to)
{
    int current = -1;
    bool any = false;
    const QString blockText = block.text();
    const int blockStart = block.position();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int fs = std::max(fragment.position(), from);
        const int fe = std::min(fragment.position() + fragment.length(), to);
        if (fs >= fe)
            continue;
        any = true;
        const QTextCharFormat f = fragment.charFormat();
        const int index = fragment.charFormatIndex();
        const quint8 traits = formatTraits(index, f);
        if (!m_fields.open.empty() || (traits & InField)) {
            fieldChain(f, m_fields.chain);
            const size_t common = commonFields(m_fields.chain);
            if (common != m_fields.open.size() || common != m_fields.chain.size()) {
                closeFields(common);
                openFields(m_fields.chain);
                current = -1;
            }
        }
        const QStringView text = QStringView(blockText).sliced(fs - blockStart, fe - fs);
        if (f.isImageFormat() || f.objectType() == NoteObject || f.objectType() == KeptObject) {
            // An object takes its run's look, as text does: a picture no
            // more than its own. A note's mark takes its character style in
            // a group of its own, so that it does not reach into the note.
            const bool note = f.objectType() == NoteObject;
            if (note) {
                m_out->open();
                runFormat(index, f);
            } else if (index != current) {
                runFormat(index, f);
                current = index;
            }
            for (QChar c : text) {
                if (c != QChar::ObjectReplacementCharacter)
                    continue;
                if (f.isImageFormat())
                    writePicture(*this, f);
                else if (note)
                    writeNote(*this, f);
                else
                    writeKept(*this, f);
            }
            if (note)
                m_out->close();
            continue;
        }
        if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript
            || f.verticalAlignment() == QTextCharFormat::AlignSubScript) {
            // Raised and lowered runs go in a group of their own: some
            // readers lose the rest of the paragraph after an ungrouped \super.
            m_out->open();
            runFormat(index, f);
            m_out->text(text);
            m_out->close();
            continue;
        }
        if (index != current) {
            runFormat(index, f);
            current = index;
        }
        if (traits & EastAsianFace)
            asianText(text, f);
        else
            m_out->text(text);
    }
    if (!any)
        runFormat(block.charFormatIndex(), block.charFormat());
}

namespace {

// East Asian characters: ideographs, kana, Hangul, their punctuation and full-width forms.
bool isEastAsian(char16_t c)
{
    return (c >= 0x1100 && c <= 0x11FF) || (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xA960 && c <= 0xA97F)
        || (c >= 0xAC00 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F)
        || (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0xD840 && c <= 0xD87F);
}

// A character of text by the kind above; the second half of a surrogate
// pair goes with its first, so that a pair is never split between groups.
bool isEastAsianAt(QStringView text, qsizetype i)
{
    const char16_t c = text[i].unicode();
    if (QChar::isLowSurrogate(c) && i > 0 && QChar::isHighSurrogate(text[i - 1].unicode()))
        return isEastAsian(text[i - 1].unicode());
    return isEastAsian(c);
}

} // namespace

void Writer::asianText(QStringView text, const QTextCharFormat &f)
{
    // The run's own words end with its Western face; East Asian characters
    // go in a group that names their face last, for readers that take one
    // face for a run.
    const int western = face(m_resolver.resolve(f).face);
    const int asian = face(f.stringProperty(AsianFaceProperty));
    for (qsizetype i = 0; i < text.size();) {
        const bool eastAsian = isEastAsianAt(text, i);
        qsizetype end = i + 1;
        while (end < text.size() && isEastAsianAt(text, end) == eastAsian)
            ++end;
        if (eastAsian) {
            m_out->open();
            m_out->word("loch");
            m_out->word("af", western);
            m_out->word("hich");
            m_out->word("af", western);
            m_out->word("dbch");
            m_out->word("f", asian);
            m_out->text(text.sliced(i, end - i));
            m_out->close();
        } else {
            m_out->text(text.sliced(i, end - i));
        }
        i = end;
    }
}

quint8 Writer::formatTraits(int index, const QTextCharFormat &f)
{
    // Looked up once per format: Qt's formats search their properties one by one.
    if (index < 0)
        index = INT_MAX;
    if (size_t(index) < m_formatTraits.size() && m_formatTraits[size_t(index)])
        return m_formatTraits[size_t(index)];
    quint8 traits = Known;
    if (f.hasProperty(FieldIdProperty) || f.hasProperty(FieldOuterProperty) || f.isAnchor())
        traits |= InField;
    if (f.hasProperty(AsianFaceProperty))
        traits |= EastAsianFace;
    if (index != INT_MAX) {
        if (size_t(index) >= m_formatTraits.size())
            m_formatTraits.resize(size_t(index) + 1, 0);
        m_formatTraits[size_t(index)] = traits;
    }
    return traits;
}

void Writer::runFormat(int index, const QTextCharFormat &f)
{
    if (index < 0) {
        writeRunFormat(*this, f);
        return;
    }
    if (size_t(index) >= m_runFormats.size())
        m_runFormats.resize(size_t(index) + 1);
    QByteArray &cached = m_runFormats[size_t(index)];
    if (cached.isNull()) {
        RtfOut scratch;
        RtfOut *previous = m_out;
        m_out = &scratch;
        writeRunFormat(*this, f);
        m_out = previous;
        cached = scratch.bytes();
    }
    m_out->rawWord(cached);
}

void Writer::fieldChain(const QTextCharFormat &f, std::vector<OpenField> &chain)
{
    chain.clear();
    const QVariantList outer = f.property(FieldOuterProperty).toList();
    for (const QVariant &entry : outer) {
        const QVariantList o = entry.toList();
        if (o.size() == 3)
            chain.push_back(OpenField {o[0].toInt(), o[1].toString(), o[2].toBool()});
    }
    if (const int id = f.intProperty(FieldIdProperty))
        chain.push_back(OpenField {id, f.stringProperty(FieldInstructionProperty), f.boolProperty(FieldLockedProperty)});
    else if (f.isAnchor() && !f.anchorHref().isEmpty())
        chain.push_back(OpenField {-int(qHash(f.anchorHref()) & 0x3fffffff) - 1, hyperlinkInstruction(f.anchorHref()),
                                   false});
}

size_t Writer::commonFields(const std::vector<OpenField> &chain) const
{
    const std::vector<OpenField> &open = m_fields.open;
    size_t n = 0;
    while (n < open.size() && n < chain.size() && open[n].id == chain[n].id)
        ++n;
    return n;
}

void Writer::openFields(const std::vector<OpenField> &chain)
{
    for (size_t i = m_fields.open.size(); i < chain.size(); ++i) {
        const OpenField &field = chain[i];
        openField(*m_out, field.instruction, field.locked);
        m_fields.open.push_back(field);
    }
    m_runFormats.clear();
}

void Writer::closeFields(size_t keep, bool restate)
{
    if (m_fields.open.size() <= keep)
        return;
    while (m_fields.open.size() > keep) {
        m_fields.open.pop_back();
        m_out->close();
        m_out->close();
    }
    m_runFormats.clear();
    if (m_fields.spanning > keep) {
        // A result that held a paragraph mark took the layout of the paragraph it began in with it.
        m_fields.spanning = keep;
        if (restate)
            writeParagraphFormat(*this, m_fields.block, m_fields.depth, true);
    }
}

size_t Writer::fieldsContinuing(const QTextBlock &block)
{
    // The open fields' results go on in the next paragraph of the same frame
    // that has text (a table of contents is one field, not one per line).
    // Empty paragraphs on the way change no field: what was found for the
    // first of them holds for the rest.
    FieldState &s = m_fields;
    if (block.position() > s.aheadFrom && block.position() < s.aheadTo)
        return s.aheadKeep;
    s.aheadFrom = block.position();
    s.aheadKeep = 0;
    const QTextFrame *frame = QTextCursor(block).currentFrame();
    QTextBlock next = block.next();
    for (; next.isValid() && next.position() < s.limit; next = next.next()) {
        if (QTextCursor(next).currentFrame() != frame)
            break;
        if (next.length() > 1) {
            fieldChain(next.begin().fragment().charFormat(), s.chain);
            const size_t common = commonFields(s.chain);
            while (s.aheadKeep < common && s.open[s.aheadKeep].id > 0)   // a link the program made is one per paragraph
                ++s.aheadKeep;
            break;
        }
    }
    s.aheadTo = next.isValid() ? next.position() : INT_MAX;
    return s.aheadKeep;
}

QByteArray Writer::header()
{
    // The stylesheet and the lists may name fonts and colours of their own:
    // they are written before the tables that list them.
    RtfOut styles;
    writeStyleSheet(*this, styles);
    RtfOut lists;
    writeListTables(*this, lists);
    RtfOut info;
    if (m_wholeDocument)
        writeDocumentInfo(*this, info);

    RtfOut out;
    out.bytes().reserve(1024 + styles.bytes().size() + lists.bytes().size());
    out.raw("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1");
    if (m_wholeDocument && m_doc.property(LanguageKey).isValid())
        out.word("deflang", m_doc.property(LanguageKey).toInt());
    out.newline();
    writeFontTable(*this, out, m_faces);
    out.newline();
    out.raw("{\\colortbl;");
    for (QRgb c : m_colours) {
        out.word("red", qRed(c));
        out.word("green", qGreen(c));
        out.word("blue", qBlue(c));
        out.raw(";");
    }
    out.close();
    out.newline();
    out.raw(styles.bytes());
    out.raw(lists.bytes());
    out.raw(info.bytes());
    return std::move(out.bytes());
}

QByteArray writeDocument(const QTextDocument &doc)
{
    Writer w(doc);
    return w.document();
}

// A selection of cells that cuts through a merged cell grows until every
// merged cell it touches lies inside it: Qt's copy of such a cut leaves the
// copied table's cells overlapping, and its grid code writes past its end.
QTextCursor selectionAsWritten(const QTextCursor &cursor)
{
    if (!cursor.hasComplexSelection())
        return cursor;
    int row = -1, rows = 0, column = -1, columns = 0;
    cursor.selectedTableCells(&row, &rows, &column, &columns);
    QTextTable *table = cursor.currentTable();
    if (row < 0 || !table)
        return cursor;
    int lastRow = row + rows - 1, lastColumn = column + columns - 1;
    for (bool grown = true; grown;) {
        grown = false;
        for (int r = row; r <= lastRow && !grown; ++r) {
            for (int c = column; c <= lastColumn && !grown; ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                const int top = cell.row(), left = cell.column();
                const int bottom = top + cell.rowSpan() - 1, right = left + cell.columnSpan() - 1;
                if (top < row || left < column || bottom > lastRow || right > lastColumn) {
                    row = std::min(row, top);
                    column = std::min(column, left);
                    lastRow = std::max(lastRow, bottom);
                    lastColumn = std::max(lastColumn, right);
                    grown = true;
                }
            }
        }
    }
    QTextCursor grownCursor(table->cellAt(row, column).firstCursorPosition());
    grownCursor.setPosition(table->cellAt(lastRow, lastColumn).firstPosition(), QTextCursor::KeepAnchor);
    int r2 = -1, n2 = 0, c2 = -1, m2 = 0;
    grownCursor.selectedTableCells(&r2, &n2, &c2, &m2);
    if (r2 == row && c2 == column && n2 == lastRow - row + 1 && m2 == lastColumn - column + 1)
        return grownCursor;
    // Qt would not select that rectangle: the whole table instead.
    QTextCursor whole(table->document());
    whole.setPosition(table->firstPosition() - 1);
    whole.setPosition(table->lastPosition() + 1, QTextCursor::KeepAnchor);
    return whole;
}

QVariantMap fragmentKeys(const QTextDocument &source)
{
    QVariantMap keys;
    for (const char *key : {StylesKey, FontsKey, PageKey, FirstSectionKey})
        if (const QVariant v = source.property(key); v.isValid())
            keys.insert(QLatin1String(key), v);
    return keys;
}

void setFragmentKeys(QTextDocument &part, const QVariantMap &keys)
{
    for (auto it = keys.cbegin(); it != keys.cend(); ++it)
        part.setProperty(it.key().toLatin1().constData(), it.value());
}

QByteArray writeSelection(const QTextCursor &selection)
{
    const QTextCursor cursor = selectionAsWritten(selection);
    if (cursor.isNull() || !cursor.document()) {
        const QTextDocument empty;
        return Writer(empty).range(0, 0);
    }
    const QTextDocument &doc = *cursor.document();
    const int from = cursor.selectionStart();
    const int to = cursor.selectionEnd();
    // A selection that reaches into a table is copied into a document of
    // its own, which Qt cuts to the selected cells, and written whole.
    bool tables = false;
    for (QTextBlock b = doc.findBlock(from); b.isValid() && b.position() <= to && !tables; b = b.next())
        tables = qobject_cast<QTextTable *>(QTextCursor(b).currentFrame()) != nullptr;
    if (!tables)
        return Writer(doc).range(from, to);
    QTextDocument part;
    part.setDefaultFont(doc.defaultFont());
    setFragmentKeys(part, fragmentKeys(doc));
    QTextCursor(&part).insertFragment(cursor.selection());
    Writer w(part);
    return w.document(true);
}

} // namespace rtf
