#include "RtfKept.h"

#include "RtfFields.h"
#include "RtfParser.h"
#include "RtfQt.h"
#include "RtfRules.h"
#include "RtfWriting.h"

namespace rtf {

using namespace keptWords;

namespace {

constexpr qsizetype MaxKeptBytes = 4096;

class KeptInlineDest final : public Dest
{
public:
    bool skipsAll() const override { return true; }
    void close(Parser &p) override
    {
        // The limit holds for the group as it will be written (bytes beyond
        // ASCII grow fourfold as \'hh), so what is kept is kept again on the next read.
        const QByteArrayView read = p.groupBytesSoFar();
        QByteArray group = read.size() <= 4 * MaxKeptBytes ? rules::keepableGroup(read) : QByteArray();
        if (group.isEmpty() || group.size() > MaxKeptBytes) {
            p.doc().dropped.add(QStringLiteral("bookmarks cut off or oversized"));
            return;
        }
        p.doc().kept.push_back(std::move(group));
        p.insertObject(InlineObject::Kept, int(p.doc().kept.size()) - 1);
    }
};

} // namespace

void keptWord(Parser &p, int, const Token &t)
{
    if (p.mayOpenInText() && p.wordOpensGroup(t.bytes))
        p.open(std::make_unique<KeptInlineDest>());
    else
        p.skipGroup();
}

// ---- writing ------------------------------------------------------------------------------------

void writeKept(Writer &w, const QTextCharFormat &f)
{
    RtfOut &out = w.out();
    if (f.hasProperty(KeptBytesProperty)) {
        out.raw(rules::keepableGroup(f.property(KeptBytesProperty).toByteArray()));
    } else if (f.hasProperty(HiddenTextProperty)) {
        out.open();
        writeRunFormat(w, f);
        out.word("v");
        out.text(f.stringProperty(HiddenTextProperty));
        out.close();
    } else if (f.hasProperty(FieldInstructionProperty)) {
        // A field without a result.
        openField(out, f.stringProperty(FieldInstructionProperty), f.boolProperty(FieldLockedProperty));
        out.raw(" }");
        out.close();
    }
}

} // namespace rtf
