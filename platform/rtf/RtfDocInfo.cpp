#include "RtfDocInfo.h"

#include "RtfBuild.h"
#include "RtfParaProps.h"
#include "RtfParser.h"
#include "RtfTables.h"
#include "RtfRules.h"
#include "RtfWriting.h"

#include <QTextDocument>
#include <QVariantMap>

#include <algorithm>

namespace rtf {

using namespace infoWords;

namespace {

using rules::MaxInfoChars;

// {\info{\title ...}{\author ...}{\creatim\yr2024\mo1...}}: strings read as
// text, dates kept as written.
class InfoDest final : public Dest
{
public:
    explicit InfoDest(int depth) : m_depth(depth) {}

    bool word(Parser &p, const Keyword *k, const Token &t) override
    {
        if (k && (k->family == Family::Doc || k->family == Family::Special || k->family == Family::Skip))
            return false;   // \u and special characters are text here too
        if (!k || k->family != Family::Info || p.depth() != m_depth + 1)
            return true;    // counts and the like: the writer states its own
        if (k->id == InfoString || k->id == InfoDate) {
            m_name = QString::fromLatin1(t.bytes.toByteArray());
            m_isDate = k->id == InfoDate;
            m_group = p.groupBytesSoFar().data();
            m_value.clear();
        }
        return true;
    }

    void text(Parser &p, QStringView s) override
    {
        if (!m_name.isEmpty() && !m_isDate && p.depth() >= m_depth + 1 && m_value.size() < MaxInfoChars)
            m_value += s.first(std::min<qsizetype>(s.size(), MaxInfoChars - m_value.size()));
    }

    void innerGroupEnd(Parser &p) override
    {
        if (p.depth() != m_depth + 1 || m_name.isEmpty())
            return;
        if (p.groupBytesSoFar().data() != m_group) {
            // The named group was taken over by another destination and ended there.
            m_name.clear();
            return;
        }
        DocInfo &info = p.doc().info;
        if (!info.order.contains(m_name))
            info.order.append(m_name);
        if (m_isDate) {
            // A date is a short group; a longer one, as it would be written, is no date, and is not kept.
            const QByteArray group = p.groupBytesSoFar().size() <= 256 ? rules::keepableGroup(p.groupBytesSoFar())
                                                                      : QByteArray();
            if (group.isEmpty() || group.size() > 256)
                info.order.removeAll(m_name);
            else
                info.raw.insert(m_name, group);
        } else {
            info.strings.insert(m_name, rules::printable(m_value).trimmed());
        }
        m_name.clear();
    }

private:
    int m_depth;
    QString m_name;
    QString m_value;
    bool m_isDate = false;
    const char *m_group = nullptr;      // where the named group starts
};

} // namespace

namespace {

constexpr qsizetype MaxKeptWords = 4096;

} // namespace

Section &currentSection(Parser &p)
{
    std::vector<Section> &sections = p.doc().sections;
    if (sections.empty())
        sections.emplace_back();
    return sections.back();
}

namespace {

void startSection(Parser &p)
{
    currentSection(p);
    closeTables(p);
    Section next;
    next.firstBlock = qsizetype(p.doc().body.blocks.size());
    p.doc().sections.push_back(next);
}

} // namespace

void infoWord(Parser &p, int id, const Token &t)
{
    const bool mainBody = p.inMainStory() && p.inText();
    PageSetup &page = p.doc().page;
    const int v = std::clamp(t.param, 0, rules::MaxExtent);
    switch (id) {
    case InfoGroup:
        if (p.mayOpenTable() && p.inMainStory())
            p.open(std::make_unique<InfoDest>(p.depth()));
        else
            p.skipGroup();
        break;
    case InfoString:
    case InfoDate:
        p.skipGroup();      // outside \info these carry nothing
        break;
    case PaperWidth: page.paperWidth = v; break;
    case PaperHeight: page.paperHeight = v; break;
    case MarginLeft: page.marginLeft = v; break;
    case MarginRight: page.marginRight = v; break;
    case MarginTop: page.marginTop = v; break;
    case MarginBottom: page.marginBottom = v; break;
    case Gutter: page.gutter = v; break;
    case Landscape: page.landscape = true; break;
    case FacingPages: page.facingPages = true; break;
    case SectionEnd:
        if (p.inText()) {
            // Right after a table a section ends with the table, not with a paragraph of its own.
            if (!(mainBody && atTableEnd(p)))
                p.endParagraph();
            if (mainBody)
                startSection(p);
        }
        break;
    case SectionDefaults:
        if (mainBody)
            currentSection(p).properties.clear();
        break;
    case DocumentKeyword:
        if (t.bytes == QByteArrayView("widowctrl")) {
            setWidowControlByDefault(p);
            p.state().para.props.widowControl = true;
        }
        if (mainBody)
            keepWord(p.doc().documentProperties, t, MaxKeptWords);
        break;
    case SectionKeyword:
        if (mainBody)
            keepWord(currentSection(p).properties, t, MaxKeptWords);
        break;
    default:
        break;
    }
}

// ---- Qt's document ----------------------------------------------------------------------------

void buildDocumentInfo(Builder &b)
{
    const Document &model = b.model();
    QTextDocument *doc = b.document();
    QVariantMap info;
    for (const QString &name : model.info.order) {
        if (model.info.strings.contains(name))
            info.insert(name, model.info.strings.value(name));
        else if (model.info.raw.contains(name))
            info.insert(name, model.info.raw.value(name));
    }
    doc->setProperty(InfoKey, info.isEmpty() ? QVariant() : QVariant(info));
    doc->setMetaInformation(QTextDocument::DocumentTitle, model.info.strings.value(QStringLiteral("title")));
    const PageSetup &p = model.page;
    doc->setProperty(PageKey, p.any() || p.facingPages ? QVariant::fromValue(p) : QVariant());
    QList<QByteArray> kept(model.keptGroups.begin(), model.keptGroups.end());
    doc->setProperty(KeptGroupsKey, kept.isEmpty() ? QVariant() : QVariant::fromValue(kept));
    doc->setProperty(LanguageKey, model.defaultLanguage >= 0 ? QVariant(model.defaultLanguage) : QVariant());
    doc->setProperty(DocumentKeywordsKey, model.documentProperties.isEmpty() ? QVariant() : QVariant(model.documentProperties));
    doc->setProperty(FirstSectionKey, QVariant());
}

// ---- writing ------------------------------------------------------------------------------------

void writeDocumentInfo(Writer &w, RtfOut &out)
{
    const QTextDocument &doc = w.doc();
    const QVariantMap info = doc.property(InfoKey).toMap();
    if (!info.isEmpty()) {
        out.open();
        out.word("info");
        for (auto it = info.cbegin(); it != info.cend(); ++it) {
            if (it.value().typeId() == QMetaType::QByteArray) {
                out.raw(rules::keepableGroup(it.value().toByteArray()));
                continue;
            }
            out.open();
            out.word(it.key().toLatin1().toStdString());
            out.text(it.value().toString());
            out.close();
        }
        out.close();
        out.newline();
    }
    for (const QByteArray &group : doc.property(KeptGroupsKey).value<QList<QByteArray>>()) {
        out.raw(rules::keepableGroup(group));
        out.newline();
    }
    if (const QByteArray words = doc.property(DocumentKeywordsKey).toByteArray(); !words.isEmpty()) {
        out.rawWord(words);
        out.newline();
    }
    if (const std::optional<PageSetup> page = pageSetup(doc)) {
        const std::pair<const char *, int> sizes[] = {{"paperw", page->paperWidth}, {"paperh", page->paperHeight}};
        for (const auto &[word, value] : sizes)
            if (value > 0)
                out.word(word, value);
        // A margin of nought is a margin; one the file did not give is not.
        const std::pair<const char *, int> margins[] = {{"margl", page->marginLeft}, {"margr", page->marginRight},
                                                        {"margt", page->marginTop}, {"margb", page->marginBottom}};
        for (const auto &[word, value] : margins)
            if (value >= 0)
                out.word(word, value);
        if (page->gutter > 0)
            out.word("gutter", page->gutter);
        if (page->landscape)
            out.word("landscape");
        if (page->facingPages)
            out.word("facingp");
        out.newline();
    }
}

std::optional<PageSetup> pageSetup(const QTextDocument &doc)
{
    const QVariant page = doc.property(PageKey);
    if (page.metaType() != QMetaType::fromType<PageSetup>())
        return std::nullopt;
    return page.value<PageSetup>();
}

} // namespace rtf
