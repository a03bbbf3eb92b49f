#include "RtfStories.h"

#include "RtfBuild.h"
#include "RtfDocInfo.h"
#include "RtfParser.h"
#include "RtfRules.h"
#include "RtfWriting.h"

#include <QTextDocument>

#include <functional>
#include <utility>

namespace rtf {

using namespace storyWords;

namespace {

constexpr int MaxStories = 10000;
constexpr int MaxStoryNesting = 3;      // the body, a header, a note in it

// What a note's group picks up from the words before it: \chftn just
// before it (numbered automatically), a comment's author and initials.
class NoteMarks final : public FamilyState
{
public:
    static constexpr Family Slot = Family::Stories;
    qsizetype numberAt = -1;    // where the text stood at \chftn
    QString author, initials;
};

// A story read in place: its text goes to a story of its own until the group closes.
class StoryDest : public Dest
{
public:
    bool isBody() const override { return true; }
    void close(Parser &p) override { p.endStory(); }
};

class NoteDest final : public StoryDest
{
public:
    NoteDest(int note, int depth) : m_note(note), m_depth(depth) {}

    bool word(Parser &p, const Keyword *k, const Token &) override
    {
        if (!k || k->family != Family::Stories)
            return false;
        if (k->id == EndnoteMark) {
            Note &n = p.doc().notes[size_t(m_note)];
            if (n.kind == Note::Footnote)
                n.kind = Note::Endnote;
            return true;
        }
        if (k->id == AutoNoteNumber || k->id == AnnotationMark)
            return true;    // the note's own number, shown by the program
        if (k->id == AnnotationDate) {
            // A comment's date, in a group of its own; anywhere else the
            // word means nothing, and the text after it stays the note's.
            if (p.doc().notes[size_t(m_note)].kind == Note::Comment && p.depth() > m_depth && m_dateDepth == 0)
                m_dateDepth = p.depth();
            return true;
        }
        return false;
    }

    void text(Parser &p, QStringView s) override
    {
        if (m_dateDepth > 0)
            p.doc().notes[size_t(m_note)].date += rules::printable(s);
    }

    void innerGroupEnd(Parser &p) override
    {
        if (p.depth() == m_dateDepth)
            m_dateDepth = 0;
    }

    bool isBody() const override { return m_dateDepth == 0; }

private:
    int m_note;
    int m_depth;        // of the note's own group
    int m_dateDepth = 0;
};

// {\*\atnid X} and {\*\atnauthor Y}: who wrote the comment that follows.
class AnnotationInfoDest final : public Dest
{
public:
    explicit AnnotationInfoDest(QString *target) : m_target(target) {}
    void text(Parser &, QStringView s) override { *m_target += s; }

private:
    QString *m_target;
};

bool canOpenStory(Parser &p)
{
    if (!p.mayOpenInText())
        return false;
    if (int(p.doc().stories.size()) >= MaxStories || p.storyDepth() >= MaxStoryNesting) {
        p.doc().dropped.add(QStringLiteral("notes and headers beyond the limits"));
        return false;
    }
    return true;
}

// The state a story starts from: the paragraph and field outside do not reach in.
void enterStory(Parser &p)
{
    p.state().para = ParaState {};
    p.state().field = -1;
}

} // namespace

void storiesWord(Parser &p, int id, const Token &t)
{
    switch (id) {
    case FootnoteGroup:
    case AnnotationGroup: {
        if (!canOpenStory(p)) {
            p.skipGroup();
            break;
        }
        Note note;
        note.kind = id == FootnoteGroup ? Note::Footnote : Note::Comment;
        NoteMarks &marks = p.family<NoteMarks>();
        note.autoNumber = marks.numberAt == p.doc().text.size();
        if (id == AnnotationGroup) {
            note.author = rules::printable(std::exchange(marks.author, QString()));
            note.initials = rules::printable(std::exchange(marks.initials, QString()));
        }
        p.doc().notes.push_back(note);
        const int index = int(p.doc().notes.size()) - 1;
        p.insertObject(InlineObject::Note, index);
        p.doc().notes[size_t(index)].story = p.beginStory();
        p.open(std::make_unique<NoteDest>(index, p.depth()));
        enterStory(p);
        break;
    }
    case HeaderGroup: {
        if (!canOpenStory(p) || !p.inMainStory()) {
            p.skipGroup();
            break;
        }
        const int story = p.beginStory();
        currentSection(p).headers.emplace_back(t.bytes.toByteArray(), story);
        p.open(std::make_unique<StoryDest>());
        enterStory(p);
        break;
    }
    case AutoNoteNumber:
    case AnnotationMark:
        if (p.inText())
            p.family<NoteMarks>().numberAt = p.doc().text.size();
        break;
    case AnnotationId:
        if (p.nested())
            p.open(std::make_unique<AnnotationInfoDest>(&p.family<NoteMarks>().initials));
        break;
    case AnnotationAuthor:
        if (p.nested())
            p.open(std::make_unique<AnnotationInfoDest>(&p.family<NoteMarks>().author));
        break;
    case AnnotationRef:
    case AnnotationDate:
        p.skipGroup();
        break;
    default:
        break;
    }
}

// ---- Qt's document ----------------------------------------------------------------------------

QTextCharFormat buildNote(Builder &b, const Note &note, QTextCharFormat f)
{
    f.setObjectType(NoteObject);
    const std::shared_ptr<QTextDocument> story = b.storyDocument(note.story);
    f.setProperty(NoteKindProperty, int(note.kind));
    f.setProperty(NoteStoryProperty, QVariant::fromValue(StoryRef {story}));
    f.setProperty(NoteAutoNumberProperty, note.autoNumber);
    if (!note.author.isEmpty())
        f.setProperty(NoteAuthorProperty, note.author);
    if (!note.initials.isEmpty())
        f.setProperty(NoteInitialsProperty, note.initials);
    if (!note.date.isEmpty())
        f.setProperty(NoteDateProperty, note.date);
    QString tip = story->toPlainText().trimmed();
    if (tip.size() > 1000)
        tip = tip.first(1000) + u'\x2026';
    if (!note.author.isEmpty())
        tip = note.author + QStringLiteral(": ") + tip;
    f.setToolTip(tip);
    f.setProperty(StyleDigestProperty, int(std::hash<const void *>()(story.get()) & 0x7fffffff));
    return f;
}

SectionRef buildSection(Builder &b, const Section &section, int number)
{
    SectionRef ref;
    ref.number = number;
    ref.properties = section.properties;
    for (const auto &[keyword, story] : section.headers)
        ref.headers.append(HeaderRef {keyword, StoryRef {b.storyDocument(story)}});
    return ref;
}

// ---- writing ------------------------------------------------------------------------------------

void writeNote(Writer &w, const QTextCharFormat &f)
{
    RtfOut &out = w.out();
    const std::shared_ptr<QTextDocument> story = f.property(NoteStoryProperty).value<StoryRef>().doc;
    const auto info = [&](std::string_view word, int property) {
        if (!f.hasProperty(property))
            return;
        out.open();
        out.star();
        out.word(word);
        out.text(f.stringProperty(property));
        out.close();
    };
    if (Note::Kind(f.intProperty(NoteKindProperty)) == Note::Comment) {
        info("atnid", NoteInitialsProperty);
        info("atnauthor", NoteAuthorProperty);
        if (f.boolProperty(NoteAutoNumberProperty))
            out.word("chatn");
        out.open();
        out.star();
        out.word("annotation");
        info("atndate", NoteDateProperty);
    } else {
        const bool automatic = f.boolProperty(NoteAutoNumberProperty);
        if (automatic)
            out.raw("{\\super\\chftn}");
        out.open();
        out.word("footnote");
        if (f.intProperty(NoteKindProperty) == Note::Endnote)
            out.word("ftnalt");
        if (automatic)
            out.raw("{\\super\\chftn}");
    }
    if (story)
        w.story(*story);
    out.close();
}

void writeSectionData(Writer &w, const QVariant &data)
{
    if (!data.isValid())
        return;
    const SectionRef section = data.value<SectionRef>();
    RtfOut &out = w.out();
    out.word("sectd");
    out.rawWord(section.properties);
    for (const HeaderRef &header : section.headers) {
        out.open();
        out.word(std::string_view(header.keyword.constData(), size_t(header.keyword.size())));
        if (header.story.doc)
            w.story(*header.story.doc);
        out.close();
    }
    out.newline();
}

} // namespace rtf
