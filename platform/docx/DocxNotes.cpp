// Footnotes, endnotes and comments: each read once from its part into a
// story of its own, placed where the text refers to it.

#include "DocxContext.h"

#include "platform/rtf/RtfRules.h"

#include <QDateTime>

namespace docx {

namespace {

// A comment's date as RTF keeps it: minutes, hours, day, month, years since
// 1900 and weekday packed in one number.
QString packedDate(QStringView iso)
{
    const QDateTime when = QDateTime::fromString(iso.left(19).toString(), Qt::ISODate);
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
    auto openFields = std::exchange(fields, {});
    auto marks = std::exchange(pendingMarks, {});
    auto outerCarried = std::exchange(carried, std::nullopt);
    const rtf::Story *outerStory = std::exchange(lastStory, nullptr);
    const QString outerTable = std::exchange(tableStyle, QString());
    const TableParts outerParts = std::exchange(tableParts, 0);
    ++storyDepth;
    readBlocks(x, story, 0);
    --storyDepth;
    fields = std::move(openFields);
    pendingMarks = std::move(marks);
    carried = std::move(outerCarried);
    lastStory = outerStory;
    tableStyle = outerTable;
    tableParts = outerParts;
    doc.stories[size_t(index)] = std::move(story);
    return index;
}

void Context::readNotes(const QString &partName, QLatin1StringView element, QHash<QString, int> &into)
{
    const auto bytes = readPart(partName);
    if (!bytes)
        return;
    const QString outer = std::exchange(part, partName);
    XmlReader x(*bytes);
    x.readRoot();
    children(x, [&] {
        const QStringView type = wattr(x, "type");
        if (!is(x, Ns::W, element) || (!type.isEmpty() && type != u"normal")) {
            skip(x);    // separators and continuation notices
            return;
        }
        const QString id = wattr(x, "id").left(32).toString();
        const int story = readStory(x);
        if (story >= 0 && !into.contains(id))
            into.insert(id, story);
    });
    if (x.hasError())
        drop(QStringLiteral("damaged notes or comments"));
    part = outer;
}

void Context::readComments(const QString &partName)
{
    const auto bytes = readPart(partName);
    if (!bytes)
        return;
    const QString outer = std::exchange(part, partName);
    XmlReader x(*bytes);
    x.readRoot();
    children(x, [&] {
        if (!is(x, Ns::W, QLatin1StringView("comment"))) {
            skip(x);
            return;
        }
        Comment c;
        const QString id = wattr(x, "id").left(32).toString();
        c.author = rtf::rules::printable(wattr(x, "author")).simplified().left(256);
        c.initials = rtf::rules::printable(wattr(x, "initials")).simplified().left(64);
        c.date = packedDate(wattr(x, "date"));
        c.story = readStory(x);
        if (c.story >= 0 && !comments.contains(id))
            comments.insert(id, c);
    });
    if (x.hasError())
        drop(QStringLiteral("damaged notes or comments"));
    part = outer;
}

void Context::addNote(ParaBuild &para, rtf::Note::Kind kind, const QString &id, int style, int link)
{
    rtf::Note note;
    note.kind = kind;
    if (kind == rtf::Note::Comment) {
        const auto it = comments.constFind(id);
        if (it == comments.constEnd()) {
            drop(QStringLiteral("note references that point nowhere"));
            return;
        }
        note.story = it->story;
        note.author = it->author;
        note.initials = it->initials;
        note.date = it->date;
    } else {
        const QHash<QString, int> &notes = kind == rtf::Note::Footnote ? footnotes : endnotes;
        const auto it = notes.constFind(id);
        if (it == notes.constEnd()) {
            drop(QStringLiteral("note references that point nowhere"));
            return;
        }
        note.story = *it;
    }
    doc.notes.push_back(note);
    addObject(para, rtf::InlineObject::Note, int(doc.notes.size()) - 1, style, link);
}

} // namespace docx
