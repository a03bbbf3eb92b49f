// List styles (text:list-style, text:outline-style) into list definitions
// with their nine levels; list instances for the numbering that continues.

#include "OdtContext.h"

#include "platform/rtf/RtfLists.h"
#include "platform/rtf/RtfRules.h"

#include <algorithm>

namespace odt {

namespace {

constexpr int MaxListStyles = 4096;

int formatCode(QStringView format)
{
    if (format.isEmpty())
        return 255;
    if (format == u"I")
        return 1;
    if (format == u"i")
        return 2;
    if (format == u"A")
        return 3;
    if (format == u"a")
        return 4;
    return 0;
}

// A level nobody defined: decimal with the level's indent.
rtf::ListLevel plainLevel(int level)
{
    rtf::ListLevel l;
    l.format = 0;
    l.text = QString(QChar(char16_t(level))) + u'.';
    l.leftIndent = 720 * (level + 1);
    l.firstIndent = -360;
    return l;
}

void readLevelProperties(XmlReader &x, rtf::ListLevel &level)
{
    const QStringView mode = attr(x, Ns::Text, QLatin1StringView("list-level-position-and-space-mode"));
    const int before = twips(attr(x, Ns::Text, QLatin1StringView("space-before"))).value_or(0);
    const int width = twips(attr(x, Ns::Text, QLatin1StringView("min-label-width"))).value_or(0);
    if (mode != u"label-alignment") {
        level.leftIndent = before + width;
        level.firstIndent = -width;
    }
    children(x, [&] {
        if (is(x, Ns::Style, QLatin1StringView("list-level-label-alignment"))) {
            level.leftIndent = twips(attr(x, Ns::Fo, QLatin1StringView("margin-left"))).value_or(0);
            level.firstIndent = twips(attr(x, Ns::Fo, QLatin1StringView("text-indent"))).value_or(0);
            const QStringView follow = attr(x, Ns::Text, QLatin1StringView("label-followed-by"));
            level.follow = follow == u"space" ? 1 : follow == u"nothing" ? 2 : 0;
        }
        skip(x);
    });
    // Within the longest length the model takes, as a paragraph's own indents are.
    level.leftIndent = std::clamp(level.leftIndent, -rtf::rules::MaxLength, rtf::rules::MaxLength);
    level.firstIndent = std::clamp(level.firstIndent, -rtf::rules::MaxLength, rtf::rules::MaxLength);
}

} // namespace

void Context::readListStyle(XmlReader &x, Pool into, ListStyle *target)
{
    ListStyle style;
    style.name = attrString(x, Ns::Style, QLatin1StringView("name"));
    children(x, [&] {
        const bool number = is(x, Ns::Text, QLatin1StringView("list-level-style-number"))
            || is(x, Ns::Text, QLatin1StringView("outline-level-style"));
        const bool bullet = is(x, Ns::Text, QLatin1StringView("list-level-style-bullet"));
        const bool image = is(x, Ns::Text, QLatin1StringView("list-level-style-image"));
        const int index = attr(x, Ns::Text, QLatin1StringView("level")).toInt() - 1;
        if ((!number && !bullet && !image) || index < 0 || index > 8) {
            skip(x);
            return;
        }
        // A level defined without positions has its label at the margin.
        rtf::ListLevel level = plainLevel(index);
        level.leftIndent = 0;
        level.firstIndent = 0;
        const QString prefix = rtf::rules::printable(attr(x, Ns::Style, QLatin1StringView("num-prefix")));
        const QString suffix = rtf::rules::printable(attr(x, Ns::Style, QLatin1StringView("num-suffix")));
        if (number) {
            level.format = formatCode(attr(x, Ns::Style, QLatin1StringView("num-format")));
            const QStringView startValue = attr(x, Ns::Text, QLatin1StringView("start-value"));
            level.start = startValue.isEmpty() ? 1 : std::clamp(startValue.toInt(), 0, 32767);
            const int shown = std::clamp(attr(x, Ns::Text, QLatin1StringView("display-levels")).toInt(), 1, index + 1);
            QString text = prefix;
            if (level.format != 255) {
                for (int l = index + 1 - shown; l <= index; ++l) {
                    if (l > index + 1 - shown)
                        text += u'.';
                    text += QChar(char16_t(l));
                }
            }
            level.text = text + suffix;
        } else {
            level.format = 23;
            QString bulletChar = image ? QStringLiteral("\u2022")
                                       : rtf::rules::printable(attr(x, Ns::Text, QLatin1StringView("bullet-char")));
            if (bulletChar.isEmpty())
                bulletChar = QStringLiteral("\u2022");
            level.text = prefix + bulletChar.first(QChar::isHighSurrogate(bulletChar.front().unicode()) ? std::min<qsizetype>(2, bulletChar.size()) : 1) + suffix;
            // Bullets of symbol fonts become the characters they show, also
            // where a writer put one around the bullet.
            for (QChar &c : level.text)
                c = QChar(rtf::unicodeBullet(c.unicode()));
        }
        children(x, [&] {
            if (is(x, Ns::Style, QLatin1StringView("list-level-properties")))
                readLevelProperties(x, level);
            else
                skip(x);
        });
        style.levels[size_t(index)] = ListLevelDef {level, true};
    });
    if (target) {
        *target = std::move(style);
        return;
    }
    const QString k = QString::number(int(into)) + u'\n' + style.name;
    if (!style.name.isEmpty() && listStyles.size() < MaxListStyles && !listStyles.contains(k))
        listStyles.insert(k, std::move(style));
}

ListStyle *Context::listStyle(QStringView name)
{
    if (name.isEmpty())
        return nullptr;
    for (Pool p : {pool, Common}) {
        const auto it = listStyles.find(QString::number(int(p)) + u'\n' + name.toString());
        if (it != listStyles.end())
            return &*it;
    }
    return nullptr;
}

int Context::listDef(ListStyle &style)
{
    if (style.def >= 0)
        return style.def;
    rtf::ListDef def;
    def.id = 1000 + int(doc.lists.size());
    def.templateId = 5000 + int(doc.lists.size());
    def.hybrid = true;
    def.name = rtf::rules::printable(decodeName(style.name));
    for (int l = 0; l < 9; ++l)
        def.levels.push_back(style.levels[size_t(l)].defined ? style.levels[size_t(l)].level : plainLevel(l));
    doc.lists.push_back(std::move(def));
    style.def = int(doc.lists.size()) - 1;
    return style.def;
}

int Context::newInstance(int def)
{
    rtf::ListInstance instance;
    instance.number = int(doc.listInstances.size()) + 1;
    instance.list = def;
    instance.startOverride.assign(9, -1);
    doc.listInstances.push_back(std::move(instance));
    return int(doc.listInstances.size()) - 1;
}

} // namespace odt
