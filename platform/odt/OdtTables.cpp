// Tables: columns and their widths, header rows, cells with borders and
// shading, spans over columns and rows (each covered slot stands as a
// covered cell), repeats within limits.

#include "OdtContext.h"

#include "platform/rtf/RtfRules.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace odt {

namespace {

constexpr int DefaultColumn = 1440;

int repeat(const XmlReader &x, Ns ns, QLatin1StringView name, int cap)
{
    const QStringView v = attr(x, ns, name);
    return v.isEmpty() ? 1 : std::clamp(v.toInt(), 1, std::max(1, cap));
}

// "0.5pt solid #000000", "none", "thin double #ff0000".
rtf::Border border(QStringView value)
{
    rtf::Border b;
    if (value.isEmpty())
        return b;
    int width = -1;
    quint8 style = 0;
    for (QStringView word : value.split(u' ', Qt::SkipEmptyParts)) {
        if (const auto tw = twips(word)) {
            width = *tw;
        } else if (const auto c = colour(word)) {
            b.colour = rtf::Colour {*c, true};
        } else if (word == u"thin") {
            width = 10;
        } else if (word == u"medium") {
            width = 20;
        } else if (word == u"thick") {
            width = 30;
        } else if (word == u"solid" || word == u"groove" || word == u"ridge" || word == u"inset" || word == u"outset") {
            style = 1;
        } else if (word == u"double") {
            style = 2;
        } else if (word == u"dotted") {
            style = 3;
        } else if (word == u"dashed") {
            style = 4;
        } else if (word == u"none" || word == u"hidden") {
            return rtf::Border {};
        }
    }
    if (style == 0 || width == 0)
        return rtf::Border {};
    b.style = style;
    b.width = std::clamp(width < 0 ? 10 : width, 1, 255);
    return b;
}

rtf::CellProps cellLook(const Props &p, int *padding)
{
    rtf::CellProps c;
    c.top = border(p.value(QStringLiteral("fo:border-top")));
    c.left = border(p.value(QStringLiteral("fo:border-left")));
    c.bottom = border(p.value(QStringLiteral("fo:border-bottom")));
    c.right = border(p.value(QStringLiteral("fo:border-right")));
    if (const auto bg = colour(p.value(QStringLiteral("fo:background-color"))))
        c.shading = rtf::Colour {*bg, true};
    const QString align = p.value(QStringLiteral("style:vertical-align"));
    c.verticalAlign = align == u"middle" ? 1 : align == u"bottom" ? 2 : 0;
    if (padding)
        *padding = std::clamp(twips(p.value(QStringLiteral("fo:padding-left"))).value_or(0), 0, 1440);
    return c;
}

rtf::Story copyStory(const rtf::Story &s);

std::unique_ptr<rtf::Table> copyTable(const rtf::Table &t)
{
    auto out = std::make_unique<rtf::Table>();
    for (const rtf::Row &r : t.rows) {
        rtf::Row row;
        row.props = r.props;
        for (const rtf::Cell &c : r.cells)
            row.cells.push_back(rtf::Cell {c.props, copyStory(c.content)});
        out->rows.push_back(std::move(row));
    }
    return out;
}

rtf::Story copyStory(const rtf::Story &s)
{
    rtf::Story out;
    for (const rtf::Block &b : s.blocks)
        out.blocks.push_back(rtf::Block {b.paragraph, b.table ? copyTable(*b.table) : nullptr});
    return out;
}

// A vertical span in progress: the rows it still covers and its width in columns.
struct Span {
    int rows = 0;
    int columns = 1;
    rtf::CellProps props;
};

} // namespace

rtf::Block Context::emptyParagraph()
{
    rtf::Paragraph p;
    p.markStyle = charStyle(paraLooks[size_t(paraLook({}))].text);
    p.terminated = true;
    return rtf::Block {std::move(p), nullptr};
}

void Context::readTable(XmlReader &x, rtf::Story &out, int tableDepth)
{
    if (tableDepth >= MaxTableDepth) {
        // Too deep to lay out in time: the cells' content stands as paragraphs.
        drop(QStringLiteral("tables nested too deeply, kept as paragraphs"));
        children(x, [&] {
            if (is(x, Ns::Table, QLatin1StringView("table-cell")))
                readBlocks(x, out, tableDepth);
            else if (nsOf(x.namespaceUri()) == Ns::Table)
                readTable(x, out, tableDepth);  // rows and groups: their cells, further in
            else
                skip(x);
        });
        return;
    }
    const QString styleName = attrString(x, Ns::Table, QLatin1StringView("style-name"));
    const Props tp = tableProps(styleName);
    if (&out == &doc.body && currentMaster.isNull())
        startMaster(tp.value(QStringLiteral("style:master-page-name")), true);
    int left = twips(tp.value(QStringLiteral("fo:margin-left"))).value_or(0);
    int tableWidth = twips(tp.value(QStringLiteral("style:width"))).value_or(0);
    if (const auto rel = percent(tp.value(QStringLiteral("style:rel-width"))); tableWidth <= 0 && rel && *rel > 0)
        tableWidth = int(availableWidth * std::min(*rel, 100.0) / 100);
    const QString align = tp.value(QStringLiteral("table:align"));
    const rtf::Align rowAlign = align == u"center" ? rtf::Align::Center : align == u"right" ? rtf::Align::Right
                                                                                              : rtf::Align::Left;
    if (align == u"center" || align == u"right")
        left = 0;

    std::vector<int> widths;
    std::vector<double> relative;
    auto table = std::make_unique<rtf::Table>();
    std::vector<int> edges;
    std::vector<Span> spans;
    bool stopped = false;

    const auto ensureEdges = [&] {
        if (!edges.empty())
            return;
        // Relative widths share the table's width; absolute ones stand.
        double total = 0;
        for (double r : relative)
            total += r;
        const int width = tableWidth > 0 ? tableWidth : availableWidth;
        // Columns without a width share what the others leave; all fit the
        // longest length the model takes.
        int fixed = 0, unsized = 0;
        for (size_t i = 0; i < widths.size(); ++i) {
            if (widths[i] <= 0 && total > 0 && relative[i] > 0)
                widths[i] = int(std::lround(width * relative[i] / total));
            if (widths[i] > 0)
                fixed += widths[i];
            else
                ++unsized;
        }
        const int share = unsized ? std::max(100, (width - fixed) / unsized) : 0;
        qint64 sum = 0;
        for (int &w : widths) {
            w = std::max(w > 0 ? w : share, 20);
            sum += w;
        }
        const qint64 room = rtf::rules::MaxLength - std::max(0, left);
        edges.push_back(left);
        for (int w : widths)
            edges.push_back(edges.back() + int(sum > room ? std::max<qint64>(20, qint64(w) * room / sum) : w));
        if (edges.size() < 2)
            edges.push_back(left + DefaultColumn);
        spans.assign(edges.size() - 1, Span {});
    };
    // A cell past the last column makes the grid wider, up to the cap.
    const auto edge = [&](int column) {
        while (int(edges.size()) - 1 < column && int(edges.size()) - 1 < MaxColumns) {
            const int left = MaxColumns + 1 - (int(edges.size()) - 1);
            const int room = std::max(20, (rtf::rules::MaxLength - edges.back()) / std::max(1, left));
            edges.push_back(edges.back() + std::min(DefaultColumn, room));
            spans.push_back(Span {});
        }
        return edges[size_t(std::min(column, int(edges.size()) - 1))];
    };

    const auto readRow = [&](bool header) {
        ensureEdges();
        const Props rp = rowProps(attr(x, Ns::Table, QLatin1StringView("style-name")));
        const int copies = repeat(x, Ns::Table, QLatin1StringView("number-rows-repeated"), MaxRowRepeat);
        rtf::Row row;
        row.props.header = header;
        row.props.left = edges.front();
        row.props.align = rowAlign;
        if (const auto h = twips(rp.value(QStringLiteral("style:row-height"))); h && *h > 0)
            row.props.height = -*h;
        else if (const auto m = twips(rp.value(QStringLiteral("style:min-row-height"))); m && *m > 0)
            row.props.height = *m;
        row.props.keep = rp.value(QStringLiteral("fo:keep-together")) == u"always";
        bool gapSet = false;
        int column = 0;
        int owed = 0;       // covered cells still to come for the span over columns just placed
        std::vector<bool> continued(spans.size(), false);
        // The span from an earlier row that covers column, or -1.
        const auto spanAt = [&](int col) {
            for (int s = 0; s < int(spans.size()); ++s)
                if (spans[size_t(s)].rows > 0 && s <= col && col < s + spans[size_t(s)].columns)
                    return s;
            return -1;
        };
        // One more merged cell for the span standing at start.
        const auto continueSpan = [&](int start) {
            Span &s = spans[size_t(start)];
            --s.rows;
            if (size_t(start) < continued.size())
                continued[size_t(start)] = true;
            rtf::Cell c;
            c.props = s.props;
            c.props.vmergeFirst = false;
            c.props.vmerged = true;
            c.props.edge = edge(start + s.columns);
            c.content.blocks.push_back(emptyParagraph());
            row.cells.push_back(std::move(c));
            column = std::max(column, start + s.columns);
        };
        children(x, [&] {
            const bool cell = is(x, Ns::Table, QLatin1StringView("table-cell"));
            const bool covered = is(x, Ns::Table, QLatin1StringView("covered-table-cell"));
            if (!cell && !covered) {
                skip(x);
                return;
            }
            const int times = repeat(x, Ns::Table, QLatin1StringView("number-columns-repeated"), MaxColumns);
            if (covered) {
                // Each covered slot stands as a covered cell; writers that
                // leave them out are read alike below.
                for (int i = 0; i < times; ++i) {
                    if (owed > 0) {
                        --owed;
                        continue;
                    }
                    const int before = column;
                    if (const int s = spanAt(column); s >= 0) {
                        continueSpan(s);
                        owed = std::max(0, column - before - 1);
                    } else {
                        ++column;
                    }
                }
                skip(x);
                return;
            }
            owed = 0;
            for (int s = spanAt(column); s >= 0; s = spanAt(column))
                continueSpan(s);
            const int across = repeat(x, Ns::Table, QLatin1StringView("number-columns-spanned"), MaxColumns);
            const int down = repeat(x, Ns::Table, QLatin1StringView("number-rows-spanned"), 1 << 20);
            int padding = 0;
            rtf::Cell c;
            c.props = cellLook(cellProps(attr(x, Ns::Table, QLatin1StringView("style-name"))), &padding);
            if (!gapSet) {
                row.props.gap = padding;
                gapSet = true;
            }
            const int outerWidth = std::exchange(
                availableWidth, std::max(720, edge(column + across) - edge(column) - 2 * padding));
            readBlocks(x, c.content, tableDepth + 1);
            availableWidth = outerWidth;
            if (c.content.blocks.empty())
                c.content.blocks.push_back(emptyParagraph());
            for (int i = 0; i < times; ++i) {
                if (column >= MaxColumns) {
                    // Beyond the cap, cells join the last one.
                    drop(QStringLiteral("cells beyond %1 in a row").arg(MaxColumns));
                    if (!row.cells.empty() && i == 0) {
                        for (rtf::Block &b : c.content.blocks)
                            row.cells.back().content.blocks.push_back(std::move(b));
                    }
                    break;
                }
                rtf::Cell placed {c.props, i + 1 < times ? copyStory(c.content) : std::move(c.content)};
                placed.props.edge = edge(column + across);
                if (down > 1 && column < int(spans.size())) {
                    placed.props.vmergeFirst = true;
                    spans[size_t(column)] = Span {down - 1, across, placed.props};
                    if (size_t(column) < continued.size())
                        continued[size_t(column)] = true;
                }
                row.cells.push_back(std::move(placed));
                column += across;
                owed = across - 1;
            }
        });
        // Spans at the row's end go on; those the row's cells ran over end.
        for (int s = 0; s < int(spans.size()); ++s) {
            if (spans[size_t(s)].rows > 0 && s >= column)
                continueSpan(s);
            else if (size_t(s) < continued.size() && !continued[size_t(s)])
                spans[size_t(s)].rows = 0;
        }
        if (row.cells.empty() || stopped)
            return;
        cellBudget += qint64(row.cells.size()) * copies;
        if (cellBudget > MaxCells) {
            drop(QStringLiteral("table cells beyond %1").arg(MaxCells));
            stopped = true;
            return;
        }
        for (int i = 1; i < copies; ++i) {
            rtf::Row copy;
            copy.props = row.props;
            for (const rtf::Cell &cell : row.cells)
                copy.cells.push_back(rtf::Cell {cell.props, copyStory(cell.content)});
            table->rows.push_back(std::move(copy));
        }
        table->rows.push_back(std::move(row));
    };

    std::function<void(bool)> rows;
    rows = [&](bool header) {
        children(x, [&] {
            if (is(x, Ns::Table, QLatin1StringView("table-column"))) {
                const int times = repeat(x, Ns::Table, QLatin1StringView("number-columns-repeated"),
                                         MaxColumns - int(widths.size()));
                const Props cp = columnProps(attr(x, Ns::Table, QLatin1StringView("style-name")));
                const int width = twips(cp.value(QStringLiteral("style:column-width"))).value_or(0);
                QString rel = cp.value(QStringLiteral("style:rel-column-width"));
                rel.remove(u'*');
                for (int i = 0; i < times && int(widths.size()) < MaxColumns; ++i) {
                    widths.push_back(width);
                    relative.push_back(std::max(0.0, rel.toDouble()));
                }
                skip(x);
            } else if (is(x, Ns::Table, QLatin1StringView("table-columns"))
                       || is(x, Ns::Table, QLatin1StringView("table-header-columns"))
                       || is(x, Ns::Table, QLatin1StringView("table-column-group"))) {
                rows(header);
            } else if (is(x, Ns::Table, QLatin1StringView("table-header-rows"))) {
                rows(true);
            } else if (is(x, Ns::Table, QLatin1StringView("table-rows"))
                       || is(x, Ns::Table, QLatin1StringView("table-row-group"))) {
                rows(header);
            } else if (is(x, Ns::Table, QLatin1StringView("table-row")) && !stopped) {
                readRow(header);
            } else {
                skip(x);
            }
        });
    };
    rows(false);
    if (!table->rows.empty())
        out.blocks.push_back(rtf::Block {rtf::Paragraph {}, std::move(table)});
}

} // namespace odt
