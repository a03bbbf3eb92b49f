#include "RtfFields.h"

#include "RtfOut.h"

#include "RtfParser.h"
#include "RtfRules.h"

namespace rtf {

using namespace fieldWords;

namespace {

// The \field group: its instruction and result come in subgroups.
class FieldDest final : public Dest
{
public:
    FieldDest(Dest *outer, int field, qsizetype textAtStart)
        : m_outer(outer), m_field(field), m_textAtStart(textAtStart) {}

    bool word(Parser &p, const Keyword *k, const Token &) override
    {
        if (!k || k->family != Family::Fields)
            return false;
        switch (k->id) {
        case FieldInstruction:
            p.open(std::make_unique<InstructionDest>(this));
            return true;
        case FieldResult:
            result(p);
            return true;
        case FieldLock:
            p.doc().fields[size_t(m_field)].locked = true;
            return true;
        default:
            return false;
        }
    }

    void close(Parser &p) override
    {
        // A field without a result keeps its instruction on an object of its own.
        if (p.doc().text.size() == m_textAtStart)
            p.insertObject(InlineObject::EmptyField, m_field);
    }

    // The result: text of the story around the field, marked as its result.
    void result(Parser &p)
    {
        p.state().dest = m_outer;
        p.state().field = m_field;
    }

    int field() const { return m_field; }

private:
    // {\*\fldinst ...}: the instruction's text, whole.
    class InstructionDest final : public Dest
    {
    public:
        explicit InstructionDest(FieldDest *field) : m_owner(field) {}
        bool word(Parser &p, const Keyword *k, const Token &) override
        {
            if (!k || k->family != Family::Fields)
                return false;
            if (k->id == FieldGroup)
                p.skipGroup();      // a field inside an instruction keeps its text out
            else if (k->id == FieldResult)
                m_owner->result(p); // \fldinst and \fldrslt without groups of their own
            return true;
        }
        void text(Parser &p, QStringView s) override { instruction(p) += s; }
        void close(Parser &p) override { instruction(p) = rules::printable(instruction(p)).simplified(); }

    private:
        QString &instruction(Parser &p) { return p.doc().fields[size_t(m_owner->field())].instruction; }
        FieldDest *m_owner;
    };

    Dest *m_outer;
    int m_field;
    qsizetype m_textAtStart;
};

} // namespace

void fieldsWord(Parser &p, int id, const Token &)
{
    State &s = p.state();
    if (id != FieldGroup || !p.nested())
        return;
    if (!p.inText()) {
        p.skipGroup();
        return;
    }
    Field field;
    int depth = 0;  // fields around the new one; their parents come first, so the walk ends
    for (int outer = s.field; outer >= 0 && depth < rules::MaxFieldDepth; outer = p.doc().fields[size_t(outer)].parent)
        ++depth;
    if (s.field >= 0 && depth < rules::MaxFieldDepth)
        field.parent = s.field;
    p.doc().fields.push_back(field);
    p.open(std::make_unique<FieldDest>(s.dest, int(p.doc().fields.size()) - 1, p.doc().text.size()));
}

// The words of an instruction: quoted strings whole, others up to a space.
static QStringList instructionWords(QStringView s)
{
    QStringList words;
    qsizetype i = 0;
    while (i < s.size()) {
        if (s.at(i).isSpace()) {
            ++i;
            continue;
        }
        if (s.at(i) == u'"') {
            const qsizetype end = s.indexOf(u'"', i + 1);
            words.append(s.mid(i + 1, end < 0 ? -1 : end - i - 1).toString());
            i = end < 0 ? s.size() : end + 1;
            continue;
        }
        const qsizetype start = i;
        while (i < s.size() && !s.at(i).isSpace())
            ++i;
        words.append(s.mid(start, i - start).toString());
    }
    return words;
}

QString hyperlinkTarget(const QString &instruction)
{
    const QStringList words = instructionWords(instruction);
    if (words.isEmpty() || words.first().compare(QLatin1String("HYPERLINK"), Qt::CaseInsensitive) != 0)
        return {};
    QString address, bookmark;
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QString &w = words.at(i);
        if (w == QLatin1String("\\l") && i + 1 < words.size())
            bookmark = words.at(++i);
        else if (w == QLatin1String("\\o") || w == QLatin1String("\\t"))
            ++i;    // a tip or a target frame
        else if (!w.startsWith(u'\\') && address.isEmpty())
            address = w;
    }
    address.replace(QLatin1String("\\\\"), QLatin1String("\\"));
    return bookmark.isEmpty() ? address : address + u'#' + bookmark;
}

QString hyperlinkInstruction(const QString &target)
{
    QString address = target;
    QString bookmark;
    const qsizetype hash = address.indexOf(u'#');
    if (hash >= 0 && !address.startsWith(QLatin1String("http"), Qt::CaseInsensitive)) {
        bookmark = address.mid(hash + 1);
        address.truncate(hash);
    }
    address.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    address.remove(u'"');
    QString out = QStringLiteral("HYPERLINK");
    if (!address.isEmpty())
        out += QStringLiteral(" \"%1\"").arg(address);
    if (!bookmark.isEmpty())
        out += QStringLiteral(" \\l \"%1\"").arg(bookmark.remove(u'"'));
    return out;
}

void openField(RtfOut &out, const QString &instruction, bool locked)
{
    out.open();
    out.word("field");
    if (locked)
        out.word("fldlock");
    out.open();
    out.star();
    out.word("fldinst");
    out.text(QStringLiteral(" ") + instruction);
    out.close();
    out.open();
    out.word("fldrslt");
}

} // namespace rtf
