// Numbering: abstract definitions with their nine levels, the numbers
// paragraphs name (with start and level overrides), and links through
// numbering styles; a number that points nowhere or back at itself is no list.

#include "DocxContext.h"

#include "platform/rtf/RtfLists.h"
#include "platform/rtf/RtfRules.h"

#include <algorithm>

namespace docx {

namespace {

constexpr int MaxDefinitions = 4096;
constexpr int MaxLinks = 8;

int formatCode(QStringView f)
{
    if (f == u"upperRoman")
        return 1;
    if (f == u"lowerRoman")
        return 2;
    if (f == u"upperLetter")
        return 3;
    if (f == u"lowerLetter")
        return 4;
    if (f == u"bullet")
        return 23;
    if (f == u"none")
        return 255;
    return 0;
}

rtf::ListLevel plainLevel(int level)
{
    rtf::ListLevel l;
    l.text = QString(QChar(char16_t(level))) + u'.';
    l.leftIndent = 720 * (level + 1);
    l.firstIndent = -360;
    return l;
}

// "%1.%2)" -> the model's level text, where U+0000..U+0008 stand for the
// numbers of levels 1 to 9. written gets the file's own characters for
// those the text keeps, for writing them back in the level's font.
QString levelText(QStringView text, bool bullet, const QString &face, QString *written = nullptr)
{
    QString out;
    const bool symbolFont = face.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0
        || face.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive);
    for (qsizetype i = 0; i < text.size() && out.size() < 64; ++i) {
        const QChar c = text.at(i);
        if (!bullet && c == u'%' && i + 1 < text.size() && text.at(i + 1) >= u'1' && text.at(i + 1) <= u'9') {
            out += QChar(char16_t(text.at(++i).unicode() - u'1'));
            continue;
        }
        // A symbol font's characters stand as the ones they show, in a
        // numbered level's text as in a bullet.
        if (c.unicode() >= 0xF000 && c.unicode() <= 0xF0FF)
            out += QChar(rtf::unicodeBullet(c.unicode()));
        else if (symbolFont && c.unicode() >= 0x20 && c.unicode() < 0x100)
            out += QChar(rtf::unicodeBullet(char16_t(0xF000 + c.unicode())));
        else if (rtf::rules::keptInText(c.unicode()) && c != u'\t')
            out += c;
        else
            continue;
        if (written)
            *written += c;
    }
    return out;
}

} // namespace

void Context::readNumbering(XmlReader &x)
{
    const auto readLevel = [&](NumLevel &level, int index) {
        level = NumLevel {};
        level.defined = true;
        rtf::ListLevel &l = level.level;
        l = plainLevel(index);
        l.leftIndent = 0;
        l.firstIndent = 0;
        QString text = QStringLiteral("%%1.").arg(index + 1);
        bool textGiven = false;
        RunProps marker;
        children(x, [&] {
            if (nsOf(x.namespaceUri()) != Ns::W) {
                skip(x);
                return;
            }
            const QStringView n = x.name();
            if (n == u"pPr") {
                readParaProps(x, level.para, nullptr, nullptr);
                return;
            }
            if (n == u"rPr") {
                readRunProps(x, marker);
                return;
            }
            if (n == u"start")
                l.start = std::clamp(number(wattr(x, "val")).value_or(1), 0, 32767);
            else if (n == u"numFmt")
                l.format = formatCode(wattr(x, "val"));
            else if (n == u"lvlText") {
                text = wattr(x, "val").left(256).toString();
                textGiven = true;
            } else if (n == u"suff") {
                const QStringView v = wattr(x, "val");
                l.follow = v == u"space" ? 1 : v == u"nothing" ? 2 : 0;
            } else if (n == u"lvlRestart") {
                l.noRestart = number(wattr(x, "val")).value_or(1) == 0;
            } else if (n == u"isLgl") {
                l.legal = onOff(x);
            }
            skip(x);
        });
        if (marker.face)
            l.face = *marker.face;
        if (!textGiven && l.format == 23)
            text = QStringLiteral("\u2022");
        // A symbol font's bullet stands as the character it shows; the
        // file's own code is kept for writing it back in that font.
        QString written;
        l.text = levelText(text, l.format == 23, l.face, &written);
        if (l.format == 23 && l.text != written)
            l.written = written;
        if (l.format == 23 && l.text.isEmpty())
            l.text = QStringLiteral("\u2022");
        l.leftIndent = std::clamp(level.para.left.value_or(0), -rtf::rules::MaxLength, rtf::rules::MaxLength);
        l.firstIndent = std::clamp(level.para.first.value_or(0), -rtf::rules::MaxLength, rtf::rules::MaxLength);
        // Only the level's indents reach the paragraph; the rest is the label's.
        ParaPropsLayer indents;
        indents.left = level.para.left;
        indents.first = level.para.first;
        indents.tabs = level.para.tabs;
        level.para = indents;
    };
    children(x, [&] {
        if (is(x, Ns::W, QLatin1StringView("abstractNum")) && abstractNums.size() < MaxDefinitions) {
            const QString id = wattr(x, "abstractNumId").left(32).toString();
            AbstractNum a;
            children(x, [&] {
                if (is(x, Ns::W, QLatin1StringView("lvl"))) {
                    const int index = number(wattr(x, "ilvl")).value_or(-1);
                    if (index >= 0 && index < 9)
                        readLevel(a.levels[size_t(index)], index);
                    else
                        skip(x);
                    return;
                }
                if (is(x, Ns::W, QLatin1StringView("numStyleLink")))
                    a.numStyleLink = wattr(x, "val").left(256).toString();
                skip(x);
            });
            if (!abstractNums.contains(id))
                abstractNums.insert(id, std::move(a));
        } else if (is(x, Ns::W, QLatin1StringView("num")) && nums.size() < MaxDefinitions) {
            const int id = number(wattr(x, "numId")).value_or(0);
            Num n;
            children(x, [&] {
                if (is(x, Ns::W, QLatin1StringView("abstractNumId"))) {
                    n.abstractId = wattr(x, "val").left(32).toString();
                    skip(x);
                } else if (is(x, Ns::W, QLatin1StringView("lvlOverride"))) {
                    const int index = number(wattr(x, "ilvl")).value_or(-1);
                    children(x, [&] {
                        if (index < 0 || index > 8) {
                            skip(x);
                        } else if (is(x, Ns::W, QLatin1StringView("startOverride"))) {
                            n.startOverride[size_t(index)] = std::clamp(number(wattr(x, "val")).value_or(1), 0, 32767);
                            skip(x);
                        } else if (is(x, Ns::W, QLatin1StringView("lvl"))) {
                            NumLevel level;
                            readLevel(level, index);
                            n.levelOverride[size_t(index)] = level;
                        } else {
                            skip(x);
                        }
                    });
                } else {
                    skip(x);
                }
            });
            if (id > 0 && !nums.contains(id))
                nums.insert(id, std::move(n));
        } else {
            skip(x);
        }
    });
}

namespace {

// The abstract definition a number stands for, through numbering styles;
// null when the chain breaks or loops.
AbstractNum *abstractOf(Context &c, int numId)
{
    for (int step = 0; step < MaxLinks; ++step) {
        const auto n = c.nums.constFind(numId);
        if (n == c.nums.constEnd())
            return nullptr;
        const auto a = c.abstractNums.find(n->abstractId);
        if (a == c.abstractNums.end())
            return nullptr;
        if (a->numStyleLink.isEmpty())
            return &*a;
        // The definition lives in the numbering style's own number.
        const auto s = c.styles.constFind(a->numStyleLink);
        if (s == c.styles.constEnd() || !s->para.numId || *s->para.numId == numId)
            return nullptr;
        numId = *s->para.numId;
    }
    return nullptr;
}

} // namespace

const NumLevel *Context::numLevel(int numId, int ilvl)
{
    ilvl = std::clamp(ilvl, 0, 8);
    const auto n = nums.constFind(numId);
    if (n == nums.constEnd())
        return nullptr;
    if (n->levelOverride[size_t(ilvl)])
        return &*n->levelOverride[size_t(ilvl)];
    const AbstractNum *a = abstractOf(*this, numId);
    if (!a || !a->levels[size_t(ilvl)].defined)
        return nullptr;
    return &a->levels[size_t(ilvl)];
}

int Context::listInstance(int numId)
{
    auto n = nums.find(numId);
    if (n == nums.end()) {
        drop(QStringLiteral("list references that point nowhere"));
        return -1;
    }
    if (n->resolved)
        return n->instance;
    n->resolved = true;
    AbstractNum *a = abstractOf(*this, numId);
    n = nums.find(numId);
    if (!a) {
        drop(QStringLiteral("list references that point nowhere"));
        return -1;
    }
    bool overridden = false;
    for (const auto &o : n->levelOverride)
        overridden = overridden || o.has_value();
    int def = overridden ? -1 : a->def;
    if (def < 0) {
        rtf::ListDef list;
        list.id = 1000 + int(doc.lists.size());
        list.templateId = 5000 + int(doc.lists.size());
        list.hybrid = true;
        for (int l = 0; l < 9; ++l) {
            if (n->levelOverride[size_t(l)])
                list.levels.push_back(n->levelOverride[size_t(l)]->level);
            else
                list.levels.push_back(a->levels[size_t(l)].defined ? a->levels[size_t(l)].level : plainLevel(l));
        }
        doc.lists.push_back(std::move(list));
        def = int(doc.lists.size()) - 1;
        if (!overridden)
            a->def = def;
    }
    rtf::ListInstance instance;
    instance.number = int(doc.listInstances.size()) + 1;
    instance.list = def;
    instance.startOverride.assign(n->startOverride.begin(), n->startOverride.end());
    doc.listInstances.push_back(std::move(instance));
    n->instance = int(doc.listInstances.size()) - 1;
    return n->instance;
}

} // namespace docx
