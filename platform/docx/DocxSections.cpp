// Sections: page size, orientation and margins, how a section starts, and
// its headers and footers (default, first page, even pages), inherited from
// the section before where it names none.

#include "DocxContext.h"

#include "platform/rtf/RtfRules.h"

#include <algorithm>

namespace docx {

namespace {

constexpr int MaxSections = 10000;

QByteArray word(const char *name, int value)
{
    return QByteArray("\\") + name + QByteArray::number(value);
}

} // namespace

void Context::readSectPr(XmlReader &x)
{
    SectionMark m;
    m.endBlock = qsizetype(doc.body.blocks.size());
    const auto side = [&](const char *name) {
        const auto v = number(wattr(x, name));
        return v ? std::clamp(*v, 0, rtf::rules::MaxExtent) : -1;
    };
    children(x, [&] {
        if (nsOf(x.namespaceUri()) != Ns::W) {
            skip(x);
            return;
        }
        const QStringView n = x.name();
        if (n == u"pgSz") {
            m.width = std::max(0, side("w"));
            m.height = std::max(0, side("h"));
            m.landscape = wattr(x, "orient") == u"landscape";
        } else if (n == u"pgMar") {
            m.top = side("top");
            m.bottom = side("bottom");
            m.left = side("left");
            m.right = side("right");
            m.header = side("header");
            m.footer = side("footer");
            m.gutter = std::max(0, side("gutter"));
        } else if (n == u"type") {
            const QStringView v = wattr(x, "val");
            m.breakKind = v == u"continuous" ? "\\sbknone" : v == u"evenPage" ? "\\sbkeven"
                : v == u"oddPage" ? "\\sbkodd" : v == u"nextColumn" ? "\\sbkcol" : "\\sbkpage";
        } else if (n == u"titlePg") {
            m.titlePage = onOff(x);
        } else if (n == u"pgBorders" || n == u"lnNumType") {
            drop(n == u"pgBorders" ? QStringLiteral("page borders") : QStringLiteral("line numbers"));
        } else if (n == u"cols") {
            if (number(wattr(x, "num")).value_or(1) > 1)
                drop(QStringLiteral("columns"));
        } else if (n == u"headerReference" || n == u"footerReference") {
            const QStringView type = wattr(x, "type");
            const int slot = (n == u"footerReference" ? 3 : 0) + (type == u"even" ? 1 : type == u"first" ? 2 : 0);
            const Rel rel = relsOf(part).value(attr(x, Ns::R, QLatin1StringView("id")).toString());
            m.referenced[size_t(slot)] = true;
            if (!rel.external && !rel.target.isEmpty()) {
                int story = headerStories.value(rel.target, -2);
                if (story == -2) {
                    headerStories.insert(rel.target, -1);   // a part naming itself reads as empty
                    story = -1;
                    if (const auto bytes = readPart(rel.target)) {
                        const QString outer = std::exchange(part, rel.target);
                        XmlReader h(*bytes);
                        while (!h.atEnd() && h.next() != XmlReader::StartElement) {
                        }
                        if (!h.hasError() && !h.atEnd())
                            story = readStory(h);
                        if (h.hasError())
                            drop(QStringLiteral("damaged headers or footers"));
                        part = outer;
                    }
                    headerStories.insert(rel.target, story);
                }
                m.stories[size_t(slot)] = story;
            }
        }
        skip(x);
    });
    if (sectionMarks.size() < size_t(MaxSections))
        sectionMarks.push_back(m);
    else
        drop(QStringLiteral("sections beyond %1").arg(MaxSections));
}

void Context::finishSections()
{
    if (sectionMarks.empty())
        return;
    static const char *const keywords[6] = {"header", "headerl", "headerf", "footer", "footerl", "footerf"};
    qsizetype start = 0;
    std::array<int, 6> inherited {-1, -1, -1, -1, -1, -1};
    for (size_t i = 0; i < sectionMarks.size(); ++i) {
        SectionMark &m = sectionMarks[i];
        for (size_t s = 0; s < 6; ++s) {
            if (!m.referenced[s])
                m.stories[s] = inherited[s];
            inherited[s] = m.stories[s];
        }
        const bool first = i == 0;
        if (!first && start >= qsizetype(doc.body.blocks.size()))
            break;      // a section with nothing in it
        rtf::Section section;
        section.firstBlock = start;
        QByteArray &props = section.properties;
        if (first) {
            rtf::PageSetup &page = doc.page;
            page.paperWidth = m.width;
            page.paperHeight = m.height;
            page.marginLeft = m.left;
            page.marginRight = m.right;
            page.marginTop = m.top;
            page.marginBottom = m.bottom;
            page.gutter = m.gutter;
            page.landscape = m.landscape;
            page.facingPages = evenAndOdd;
        } else {
            props += m.breakKind.isEmpty() ? QByteArray("\\sbkpage") : m.breakKind;
            if (m.width > 0 && m.height > 0)
                props += word("pgwsxn", m.width) + word("pghsxn", m.height);
            if (m.left >= 0)
                props += word("marglsxn", m.left);
            if (m.right >= 0)
                props += word("margrsxn", m.right);
            if (m.top >= 0)
                props += word("margtsxn", m.top);
            if (m.bottom >= 0)
                props += word("margbsxn", m.bottom);
            if (m.landscape)
                props += "\\lndscpsxn";
        }
        const bool headed = m.stories[0] >= 0 || m.stories[1] >= 0 || m.stories[2] >= 0;
        const bool footed = m.stories[3] >= 0 || m.stories[4] >= 0 || m.stories[5] >= 0;
        if (headed && m.header >= 0)
            props += word("headery", m.header);
        if (footed && m.footer >= 0)
            props += word("footery", m.footer);
        if (m.titlePage)
            props += "\\titlepg";
        for (size_t s = 0; s < 6; ++s) {
            const bool shown = (s % 3 == 0) || (s % 3 == 1 && evenAndOdd) || (s % 3 == 2 && m.titlePage);
            if (shown && m.stories[s] >= 0)
                section.headers.emplace_back(QByteArray(keywords[s]), m.stories[s]);
        }
        doc.sections.push_back(std::move(section));
        start = std::max(start, m.endBlock);
    }
    if (doc.sections.size() == 1 && doc.sections.front().headers.empty() && doc.sections.front().properties.isEmpty())
        doc.sections.clear();
}

} // namespace docx
