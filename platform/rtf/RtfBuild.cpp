#include "RtfBuild.h"

#include "RtfFields.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

namespace rtf {

namespace {


} // namespace

void buildDocument(const Document &model, QTextDocument *doc)
{
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    {
        Builder builder(model, doc);
        QTextCursor cursor(doc);
        builder.insertBody(cursor);
        builder.keepDocumentData(false);
    }
    doc->setUndoRedoEnabled(undo);
}

Builder::Builder(const Document &model, QTextDocument *doc)
    : m_model(model),
      m_doc(doc),
      m_defaultFace(doc->defaultFont().family()),
      m_charFormats(model.charStyles.size()),
      m_charBuilt(model.charStyles.size(), false),
      m_blockFormats(model.paraProps.size()),
      m_blockBuilt(model.paraProps.size(), false)
{
}

Builder::~Builder()
{
    // Field ids stay unique in the document when more is pasted into it.
    const int base = m_doc->property(FieldIdBaseKey).toInt();
    m_doc->setProperty(FieldIdBaseKey, base + int(m_model.fields.size()));
}

const QTextCharFormat &Builder::charFormat(int style, int field)
{
    const size_t i = size_t(style);
    if (!m_charBuilt[i]) {
        m_charFormats[i] = buildCharFormat(m_model, m_model.charStyles[i], m_defaultFace);
        m_charBuilt[i] = true;
    }
    if (field < 0)
        return m_charFormats[i];
    const quint64 key = quint64(quint32(style)) << 32 | quint32(field);
    auto it = m_fieldFormats.find(key);
    if (it != m_fieldFormats.end())
        return *it;
    QTextCharFormat f = m_charFormats[i];
    const Field &fd = m_model.fields[size_t(field)];
    const int base = m_doc->property(FieldIdBaseKey).toInt() + 1;
    const int id = base + field;
    f.setProperty(FieldInstructionProperty, fd.instruction);
    f.setProperty(FieldIdProperty, id);
    if (fd.locked)
        f.setProperty(FieldLockedProperty, true);
    // A field inside others' results carries them, and shows the nearest link among them.
    QString href = hyperlinkTarget(fd.instruction);
    if (fd.parent >= 0) {
        QVariantList outer;
        for (int p = fd.parent; p >= 0; p = m_model.fields[size_t(p)].parent) {
            const Field &o = m_model.fields[size_t(p)];
            outer.prepend(QVariant(QVariantList {base + p, o.instruction, o.locked}));
            if (href.isEmpty())
                href = hyperlinkTarget(o.instruction);
        }
        f.setProperty(FieldOuterProperty, outer);
    }
    if (!href.isEmpty()) {
        f.setAnchor(true);
        f.setAnchorHref(href);
        f.setToolTip(href);
    }
    f.setProperty(StyleDigestProperty, f.intProperty(StyleDigestProperty) ^ (id * 0x9E3779B1 & 0x7fffffff));
    return *m_fieldFormats.insert(key, f);
}

QTextBlockFormat Builder::paragraphFormat(const Paragraph &p)
{
    if (!p.pageBreak)
        return blockFormat(p.props);
    // A \page before the paragraph: a break the writer writes as \page again.
    QTextBlockFormat f = blockFormat(p.props);
    f.setPageBreakPolicy(f.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
    if (!m_model.paraProps[size_t(p.props)].pageBreakBefore)
        f.setProperty(PageBreakCharProperty, true);
    return f;
}

const QTextBlockFormat &Builder::blockFormat(int props)
{
    const size_t i = size_t(props);
    if (!m_blockBuilt[i]) {
        m_blockFormats[i] = buildBlockFormat(m_model, m_model.paraProps[i]);
        m_blockBuilt[i] = true;
    }
    return m_blockFormats[i];
}

void Builder::insertBody(QTextCursor &cursor)
{
    cursor.beginEditBlock();
    if (cursor.hasSelection())
        cursor.removeSelectedText();
    // Blocks split off the insertion point keep its paragraph's own format.
    QTextBlockFormat hostFormat = cursor.blockFormat();
    hostFormat.clearProperty(QTextFormat::ObjectIndex);
    const bool hostHead = !cursor.atBlockStart();
    const bool hostTail = !cursor.atBlockEnd();
    const auto &blocks = m_model.body.blocks;
    const size_t count = blocks.size();
    bool fresh = true;  // the cursor's block takes the next paragraph without a break
    size_t section = 1;   // the next section to start
    for (size_t i = 0; i < count; ++i) {
        const Block &block = blocks[i];
        const bool startsSection = section < m_model.sections.size()
                                   && size_t(m_model.sections[section].firstBlock) <= i;
        if (block.table) {
            QTextTable *table = buildTable(*this, cursor, *block.table);
            if (startsSection) {
                // A section that starts with a table: its data rides on the first cell's paragraph.
                QTextCursor first = table->cellAt(0, 0).firstCursorPosition();
                QTextBlockFormat f = first.blockFormat();
                f.setProperty(SectionProperty,
                              QVariant::fromValue(buildSection(*this, m_model.sections[section], int(section))));
                first.setBlockFormat(f);
                ++section;
            }
            fresh = true;
            continue;
        }
        const Paragraph &p = block.paragraph;
        const QTextCharFormat &mark = charFormat(p.markStyle, -1);
        // The paragraph mark carries the paragraph's format; trailing text
        // without a mark only sets it when it has the block to itself.
        const bool ownBlock = (i > 0 || !hostHead) && (i + 1 < count || !hostTail);
        const bool setFormat = p.terminated || ownBlock;
        if (!fresh) {
            cursor.insertBlock(setFormat ? paragraphFormat(p) : hostFormat, mark);
        } else {
            if (setFormat)
                cursor.setBlockFormat(paragraphFormat(p));
            if (ownBlock && p.runs.empty())
                cursor.setBlockCharFormat(mark);
        }
        if (startsSection) {
            // The paragraph starts a section: the section's data rides on it.
            QTextBlockFormat f = cursor.blockFormat();
            f.setProperty(SectionProperty, QVariant::fromValue(buildSection(*this, m_model.sections[section], int(section))));
            cursor.setBlockFormat(f);
            ++section;
        }
        insertRuns(cursor, p);
        if (setFormat)
            joinList(cursor, p.props);
        fresh = false;
    }
    if (count > 0 && !blocks.back().table && blocks.back().paragraph.terminated && !cursor.atEnd())
        cursor.insertBlock(hostFormat);
    cursor.endEditBlock();
}

void Builder::buildStory(QTextCursor &cursor, const Story &story, bool inCell)
{
    bool fresh = true;
    bool first = true;
    for (const Block &block : story.blocks) {
        if (block.table) {
            buildTable(*this, cursor, *block.table);
            fresh = true;
            continue;
        }
        const Paragraph &p = block.paragraph;
        if (!fresh) {
            cursor.insertBlock(paragraphFormat(p), charFormat(p.markStyle, -1));
        } else {
            cursor.setBlockFormat(paragraphFormat(p));
            if (!(inCell && first))
                cursor.setBlockCharFormat(charFormat(p.markStyle, -1));
        }
        insertRuns(cursor, p);
        joinList(cursor, p.props);
        fresh = false;
        first = false;
    }
}

std::shared_ptr<QTextDocument> Builder::storyDocument(int story)
{
    auto doc = std::make_shared<QTextDocument>();
    doc->setDefaultFont(m_doc->defaultFont());
    doc->setUndoRedoEnabled(false);
    if (story >= 0 && size_t(story) < m_model.stories.size()) {
        Builder inner(m_model, doc.get());
        QTextCursor cursor(doc.get());
        cursor.beginEditBlock();
        inner.buildStory(cursor, m_model.stories[size_t(story)]);
        cursor.endEditBlock();
    }
    return doc;
}

void Builder::insertRuns(QTextCursor &cursor, const Paragraph &p)
{
    const auto &runs = p.runs;
    for (size_t r = 0; r < runs.size(); ++r) {
        const Run &run = runs[r];
        const QStringView text = QStringView(m_model.text).sliced(run.start, run.length);
        if (run.isObject()) {
            cursor.insertText(QString(QChar::ObjectReplacementCharacter), objectFormat(run, text));
            continue;
        }
        if (m_model.charStyles[size_t(run.style)].hidden) {
            // Hidden text is kept unseen: one object for the run of it.
            QString hidden = text.toString();
            while (r + 1 < runs.size() && !runs[r + 1].isObject()
                   && m_model.charStyles[size_t(runs[r + 1].style)].hidden) {
                ++r;
                hidden += QStringView(m_model.text).sliced(runs[r].start, runs[r].length);
            }
            QTextCharFormat f = charFormat(run.style, run.field);
            f.setObjectType(KeptObject);
            f.setProperty(HiddenTextProperty, hidden);
            cursor.insertText(QString(QChar::ObjectReplacementCharacter), f);
            continue;
        }
        cursor.insertText(text.toString(), charFormat(run.style, run.field));
    }
}

QTextCharFormat Builder::objectFormat(const Run &run, QStringView)
{
    const InlineObject &o = m_model.objects[size_t(run.object)];
    QTextCharFormat f = charFormat(run.style, run.field);
    switch (o.kind) {
    case InlineObject::Picture:
        return buildPicture(*this, m_model.pictures[size_t(o.index)], f);
    case InlineObject::Note:
        return buildNote(*this, m_model.notes[size_t(o.index)], f);
    case InlineObject::Kept:
        f.setObjectType(KeptObject);
        f.setProperty(KeptBytesProperty, m_model.kept[size_t(o.index)]);
        return f;
    case InlineObject::EmptyField:
        // The field's instruction on an object of its own, not a result
        // the writer would open the field around.
        f = charFormat(run.style, o.index);
        f.setObjectType(KeptObject);
        f.clearProperty(FieldIdProperty);
        f.setAnchor(false);
        f.clearProperty(QTextFormat::AnchorHref);
        f.clearProperty(QTextFormat::TextToolTip);
        return f;
    }
    return f;
}

void Builder::joinList(QTextCursor &cursor, int props)
{
    const ParaProps &p = m_model.paraProps[size_t(props)];
    if (p.list < 0)
        return;
    const quint64 key = quint64(quint32(p.list)) << 8 | quint32(p.level);
    // An item of a higher level ends the lists below it: their numbers start again.
    for (int deeper = p.level + 1; deeper < 9; ++deeper)
        m_lists.remove(quint64(quint32(p.list)) << 8 | quint32(deeper));
    if (QTextList *list = m_lists.value(key)) {
        list->add(cursor.block());
        return;
    }
    m_lists.insert(key, cursor.createList(buildListFormat(m_model, p)));
}

void Builder::keepDocumentData(bool merge)
{
    buildStyles(*this, merge);
    buildFonts(*this, merge);
    if (merge)
        return;
    buildDocumentInfo(*this);
    if (!m_model.sections.empty())
        m_doc->setProperty(FirstSectionKey, QVariant::fromValue(buildSection(*this, m_model.sections.front(), 0)));
}

} // namespace rtf
