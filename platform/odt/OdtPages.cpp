// Pages: page layouts (size, margins, orientation, the room headers and
// footers take), master pages with their headers and footers, and the
// sections a change of master page starts.

#include "OdtContext.h"

#include <algorithm>

namespace odt {

namespace {

void readHeaderStyle(XmlReader &x, Props &into)
{
    children(x, [&] {
        if (is(x, Ns::Style, QLatin1StringView("header-footer-properties"))) {
            const QXmlStreamAttributes attributes = x.attributes();   // a const list: no copy of each
            for (const QXmlStreamAttribute &a : attributes) {
                const Ns ns = nsOf(a.namespaceUri());
                if (ns != Ns::Other)
                    into.insert(prefixOf(ns) + u':' + a.name().toString(), a.value().toString());
            }
        }
        skip(x);
    });
}

int length(const Props &p, const char *name)
{
    return std::max(0, twips(p.value(QLatin1StringView(name))).value_or(0));
}

// The room a header or footer takes from the page's margin.
int extent(const Props &p)
{
    const int height = length(p, "svg:height");
    return height > 0 ? height : length(p, "fo:min-height");
}

QByteArray word(const char *name, int value)
{
    return QByteArray("\\") + name + QByteArray::number(value);
}

} // namespace

void Context::readPageLayout(XmlReader &x)
{
    const QString name = attrString(x, Ns::Style, QLatin1StringView("name"));
    PageLayout layout;
    const bool mirrored = attr(x, Ns::Style, QLatin1StringView("page-usage")) == u"mirrored";
    children(x, [&] {
        if (is(x, Ns::Style, QLatin1StringView("page-layout-properties"))) {
            const QXmlStreamAttributes attributes = x.attributes();   // a const list: no copy of each
            for (const QXmlStreamAttribute &a : attributes) {
                const Ns ns = nsOf(a.namespaceUri());
                if (ns != Ns::Other)
                    layout.page.insert(prefixOf(ns) + u':' + a.name().toString(), a.value().toString());
            }
            skip(x);
        } else if (is(x, Ns::Style, QLatin1StringView("header-style"))) {
            readHeaderStyle(x, layout.header);
        } else if (is(x, Ns::Style, QLatin1StringView("footer-style"))) {
            readHeaderStyle(x, layout.footer);
        } else {
            skip(x);
        }
    });
    if (mirrored)
        layout.page.insert(QStringLiteral("style:page-usage"), QStringLiteral("mirrored"));
    if (!name.isEmpty() && pageLayouts.size() < 4096)
        pageLayouts.insert(name, std::move(layout));
}

void Context::readMasterStyles(XmlReader &x)
{
    children(x, [&] {
        if (!is(x, Ns::Style, QLatin1StringView("master-page")) || masters.size() >= 1024) {
            skip(x);
            return;
        }
        const QString name = attrString(x, Ns::Style, QLatin1StringView("name"));
        Master m;
        m.layout = attrString(x, Ns::Style, QLatin1StringView("page-layout-name"));
        m.next = attrString(x, Ns::Style, QLatin1StringView("next-style-name"));
        children(x, [&] {
            const Ns ns = nsOf(x.namespaceUri());
            const QStringView n = x.name();
            int *target = nullptr;
            if (ns == Ns::Style || ns == Ns::Loext) {
                target = n == u"header" ? &m.header : n == u"header-left" ? &m.headerLeft
                    : n == u"header-first" ? &m.headerFirst : n == u"footer" ? &m.footer
                    : n == u"footer-left" ? &m.footerLeft : n == u"footer-first" ? &m.footerFirst : nullptr;
            }
            if (!target || *target >= 0 || attr(x, Ns::Style, QLatin1StringView("display")) == u"false") {
                skip(x);
                return;
            }
            *target = readStory(x);
        });
        if (!name.isEmpty() && !masters.contains(name)) {
            masters.insert(name, m);
            masterOrder.append(name);
        }
    });
}

void Context::startMaster(const QString &requested, bool first)
{
    QString name = requested;
    if (!masters.contains(name)) {
        if (!first) {
            pageBreakPending = true;    // a page style the file does not define: its break still counts
            return;
        }
        name = masters.contains(QStringLiteral("Standard")) ? QStringLiteral("Standard") : masterOrder.value(0);
    }
    if (!first) {
        pageBreakPending = true;
        if (name == currentMaster)
            return;
    }
    currentMaster = name.isNull() ? QStringLiteral("") : name;
    const Master m = masters.value(name);
    const PageLayout layout = pageLayouts.value(m.layout);
    const Props &page = layout.page;

    rtf::Section section;
    section.firstBlock = qsizetype(doc.body.blocks.size());
    QByteArray &props = section.properties;
    // A first page of its own: this master's headers there, the next one's after.
    Master shown = m;
    int headerFirst = m.headerFirst, footerFirst = m.footerFirst;
    if (first && !m.next.isEmpty() && m.next != name && masters.contains(m.next)) {
        shown = masters.value(m.next);
        headerFirst = m.header;
        footerFirst = m.footer;
    }
    const bool headed = shown.header >= 0 || headerFirst >= 0;
    const bool footed = shown.footer >= 0 || footerFirst >= 0;
    const int top = length(page, "fo:margin-top");
    const int bottom = length(page, "fo:margin-bottom");
    const int marginTop = top + (headed ? extent(layout.header) : 0);
    const int marginBottom = bottom + (footed ? extent(layout.footer) : 0);
    const int width = length(page, "fo:page-width");
    const int height = length(page, "fo:page-height");
    const bool landscape = page.value(QStringLiteral("style:print-orientation")) == u"landscape";
    if (first) {
        rtf::PageSetup &setup = doc.page;
        setup.paperWidth = width;
        setup.paperHeight = height;
        if (!page.isEmpty()) {
            setup.marginLeft = length(page, "fo:margin-left");
            setup.marginRight = length(page, "fo:margin-right");
            setup.marginTop = marginTop;
            setup.marginBottom = marginBottom;
        }
        setup.landscape = landscape;
        if (width > 0)
            availableWidth = std::max(720, width - length(page, "fo:margin-left") - length(page, "fo:margin-right"));
        setup.facingPages = page.value(QStringLiteral("style:page-usage")) == u"mirrored"
            || shown.headerLeft >= 0 || shown.footerLeft >= 0;
    } else {
        props += "\\sbkpage";
        if (width > 0 && height > 0)
            props += word("pgwsxn", width) + word("pghsxn", height);
        if (!page.isEmpty()) {
            props += word("marglsxn", length(page, "fo:margin-left")) + word("margrsxn", length(page, "fo:margin-right"));
            props += word("margtsxn", marginTop) + word("margbsxn", marginBottom);
        }
        if (landscape)
            props += "\\lndscpsxn";
    }
    if (headed)
        props += word("headery", top);
    if (footed)
        props += word("footery", bottom);
    if (headerFirst >= 0 || footerFirst >= 0)
        props += "\\titlepg";
    const auto add = [&](const char *keyword, int story) {
        if (story >= 0)
            section.headers.emplace_back(QByteArray(keyword), story);
    };
    add("header", shown.header);
    add("headerl", shown.headerLeft);
    add("headerf", headerFirst);
    add("footer", shown.footer);
    add("footerl", shown.footerLeft);
    add("footerf", footerFirst);
    if (first) {
        if (doc.sections.empty())
            doc.sections.push_back(std::move(section));
        else
            doc.sections.front() = std::move(section);
    } else {
        if (doc.sections.empty())
            doc.sections.emplace_back();
        doc.sections.push_back(std::move(section));
    }
}

void Context::finishPages()
{
    if (currentMaster.isNull())
        startMaster(QString(), true);
    // A section only stands for what it changes: one without headers or
    // properties is no section.
    if (doc.sections.size() == 1 && doc.sections.front().headers.empty() && doc.sections.front().properties.isEmpty())
        doc.sections.clear();
}

} // namespace odt
