// Footnotes, endnotes, comments (annotations) and fields: page number and
// count, date and time with the text they showed, document information,
// references.

#include "OdtContext.h"

#include "platform/rtf/RtfRules.h"

#include <QDateTime>

namespace odt {

namespace {

// A comment's date as RTF keeps it: minutes, hours, day, month, years since
// 1900 and weekday packed in one number.
QString packedDate(QStringView iso)
{
    QDateTime when = QDateTime::fromString(iso.left(19).toString(), Qt::ISODate);
    if (!when.isValid())
        return {};
    const QDate d = when.date();
    const QTime t = when.time();
    if (d.year() < 1900 || d.year() > 2411)
        return {};
    const quint32 packed = quint32(t.minute()) | quint32(t.hour()) << 6 | quint32(d.day()) << 11
        | quint32(d.month()) << 16 | quint32(d.year() - 1900) << 20 | quint32(d.dayOfWeek() % 7) << 29;
    return QString::number(qint32(packed));
}

// The instruction a field element stands for; empty for those read as text.
QString instruction(const XmlReader &x)
{
    const QStringView n = x.name();
    if (n == u"page-number")
        return QStringLiteral("PAGE");
    if (n == u"page-count")
        return QStringLiteral("NUMPAGES");
    if (n == u"date")
        return QStringLiteral("DATE");
    if (n == u"time")
        return QStringLiteral("TIME");
    if (n == u"file-name")
        return attr(x, Ns::Text, QLatin1StringView("display")) == u"full" ? QStringLiteral("FILENAME \\p")
                                                                          : QStringLiteral("FILENAME");
    if (n == u"author-name" || n == u"initial-creator")
        return QStringLiteral("AUTHOR");
    if (n == u"title")
        return QStringLiteral("TITLE");
    if (n == u"subject")
        return QStringLiteral("SUBJECT");
    if (n == u"keywords")
        return QStringLiteral("KEYWORDS");
    if (n == u"description")
        return QStringLiteral("COMMENTS");
    if (n == u"creation-date")
        return QStringLiteral("CREATEDATE");
    if (n == u"modification-date")
        return QStringLiteral("SAVEDATE");
    if (n == u"print-date")
        return QStringLiteral("PRINTDATE");
    if (n == u"word-count")
        return QStringLiteral("NUMWORDS");
    if (n == u"character-count")
        return QStringLiteral("NUMCHARS");
    if (n == u"bookmark-ref" || n == u"reference-ref") {
        const QString name = rtf::rules::printable(attr(x, Ns::Text, QLatin1StringView("ref-name"))).remove(u'"');
        if (name.isEmpty())
            return {};
        const bool page = attr(x, Ns::Text, QLatin1StringView("reference-format")) == u"page";
        return QStringLiteral("%1 %2 \\h").arg(page ? QStringLiteral("PAGEREF") : QStringLiteral("REF"), name);
    }
    if (n == u"user-field-get") {
        const QString name = rtf::rules::printable(attr(x, Ns::Text, QLatin1StringView("name"))).remove(u' ').remove(u'"');
        return name.isEmpty() ? QString() : QStringLiteral("DOCVARIABLE %1").arg(name);
    }
    if (n == u"sequence") {
        const QString name = rtf::rules::printable(attr(x, Ns::Text, QLatin1StringView("name"))).remove(u' ').remove(u'"');
        return name.isEmpty() ? QString() : QStringLiteral("SEQ %1 \\* ARABIC").arg(name);
    }
    return {};
}

} // namespace

int Context::readStory(XmlReader &x)
{
    if (storyDepth + 1 >= MaxStoryDepth || doc.stories.size() >= size_t(MaxStories)) {
        drop(QStringLiteral("notes and headers beyond the limits"));
        skip(x);
        return -1;
    }
    // Read aside, then placed: stories read inside move the vector.
    const int index = int(doc.stories.size());
    doc.stories.emplace_back();
    rtf::Story story;
    const int outerField = std::exchange(blockField, -1);
    ++storyDepth;
    readBlocks(x, story, 0);
    --storyDepth;
    blockField = outerField;
    doc.stories[size_t(index)] = std::move(story);
    return index;
}

void Context::readNote(XmlReader &x, ParaBuild &para, const Inline &in)
{
    rtf::Note note;
    note.kind = attr(x, Ns::Text, QLatin1StringView("note-class")) == u"endnote" ? rtf::Note::Endnote
                                                                                 : rtf::Note::Footnote;
    bool read = false;
    children(x, [&] {
        if (is(x, Ns::Text, QLatin1StringView("note-citation"))) {
            // A mark of the writer's own stands as text before the note.
            if (!attr(x, Ns::Text, QLatin1StringView("label")).isEmpty()) {
                note.autoNumber = false;
                addText(para, elementText(x, 64).simplified(), in);
            } else {
                skip(x);
            }
        } else if (is(x, Ns::Text, QLatin1StringView("note-body")) && !read) {
            note.story = readStory(x);
            read = true;
        } else {
            skip(x);
        }
    });
    if (note.story < 0)
        return;
    doc.notes.push_back(note);
    addObject(para, rtf::InlineObject::Note, int(doc.notes.size()) - 1, in, true);
}

void Context::readAnnotation(XmlReader &x, ParaBuild &para, const Inline &in)
{
    if (storyDepth + 1 >= MaxStoryDepth || doc.stories.size() >= size_t(MaxStories)) {
        drop(QStringLiteral("notes and headers beyond the limits"));
        skip(x);
        return;
    }
    rtf::Note note;
    note.kind = rtf::Note::Comment;
    note.story = int(doc.stories.size());
    doc.stories.emplace_back();
    rtf::Story story;
    const int outerField = std::exchange(blockField, -1);
    ++storyDepth;
    children(x, [&] {
        if (is(x, Ns::Dc, QLatin1StringView("creator")))
            note.author = rtf::rules::printable(elementText(x, 256)).simplified();
        else if (is(x, Ns::Dc, QLatin1StringView("date")))
            note.date = packedDate(elementText(x, 64).trimmed());
        else if (is(x, Ns::Meta, QLatin1StringView("creator-initials"))
                 || is(x, Ns::Loext, QLatin1StringView("sender-initials")))
            note.initials = rtf::rules::printable(elementText(x, 64)).simplified();
        else
            readBlock(x, story, 0);
    });
    --storyDepth;
    blockField = outerField;
    doc.stories[size_t(note.story)] = std::move(story);
    doc.notes.push_back(note);
    addObject(para, rtf::InlineObject::Note, int(doc.notes.size()) - 1, in, true);
}

bool Context::readField(XmlReader &x, ParaBuild &para, const Inline &in)
{
    const QString instr = instruction(x);
    if (instr.isEmpty())
        return false;
    const int field = addField(instr, in.field);
    const qsizetype before = doc.text.size();
    readInline(x, para, Inline {in.text, field});
    if (doc.text.size() == before)
        addObject(para, rtf::InlineObject::EmptyField, field, in, false);
    return true;
}

int Context::fieldOf(const ParaBuild &para, const Inline &in) const
{
    if (para.fieldmark >= 0 && para.fieldmarkResult && in.field == doc.fields[size_t(para.fieldmark)].parent)
        return para.fieldmark;
    return in.field;
}

// field:fieldmark-start (with the instruction as a parameter), -separator
// and -end around a field's result, which may run over spans.
void Context::readFieldmark(XmlReader &x, ParaBuild &para, const Inline &in)
{
    const QStringView n = x.name();
    if (n == u"fieldmark-start" && para.fieldmark < 0) {
        QString code;
        children(x, [&] {
            if (is(x, Ns::Field, QLatin1StringView("param"))
                && attr(x, Ns::Field, QLatin1StringView("name")) == u"vnd.oasis.opendocument.field.code")
                code = attrString(x, Ns::Field, QLatin1StringView("value"));
            skip(x);
        });
        code = rtf::rules::printable(code).simplified();
        if (!code.isEmpty()) {
            para.fieldmark = addField(code, in.field);
            para.fieldmarkResult = false;
            para.fieldmarkText = doc.text.size();
        }
        return;
    }
    if (n == u"fieldmark-separator" && para.fieldmark >= 0) {
        para.fieldmarkResult = true;
    } else if (n == u"fieldmark-end" && para.fieldmark >= 0) {
        const int field = std::exchange(para.fieldmark, -1);
        para.fieldmarkResult = false;
        if (doc.text.size() == para.fieldmarkText)
            addObject(para, rtf::InlineObject::EmptyField, field, in, false);
    }
    skip(x);
}

} // namespace odt
