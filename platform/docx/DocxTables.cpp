// Tables: the grid and its column widths, rows (header rows, heights,
// cells skipped before and after), cells placed by grid column with their
// spans over columns and rows, borders (the cell's own over the table's and
// its style's) and shading, within the limits the RTF route keeps.

#include "DocxContext.h"

#include "platform/rtf/RtfRules.h"

#include <algorithm>
#include <functional>
#include <tuple>

namespace docx {

namespace {

constexpr int DefaultColumn = 1440;
constexpr int DefaultGap = 108;

struct CellInfo {
    BorderSet own;
    bool ownAlign = false, ownShading = false;
    int first = 0, last = 0;            // grid columns it covers
};

int twipsOf(const XmlReader &x)
{
    const QStringView type = wattr(x, "type");
    if (!type.isEmpty() && type != u"dxa")
        return 0;
    return std::clamp(number(wattr(x, "w")).value_or(0), 0, rtf::rules::MaxLength);
}

} // namespace

rtf::Border readBorder(const XmlReader &x)
{
    rtf::Border b;
    const QStringView v = wattr(x, "val");
    if (v.isEmpty() || v == u"none" || v == u"nil")
        return b;
    b.style = v == u"double" ? 2 : v == u"dotted" ? 3 : v.startsWith(u"dash") ? 4 : v == u"thick" ? 5 : 1;
    const int eighths = number(wattr(x, "sz")).value_or(4);
    b.width = std::clamp(eighths * 5 / 2, 1, 255);
    if (const auto c = hexColour(wattr(x, "color")))
        b.colour = rtf::Colour {*c, true};
    return b;
}

void readBorders(XmlReader &x, BorderSet &into)
{
    children(x, [&] {
        if (nsOf(x.namespaceUri()) == Ns::W) {
            const QStringView n = x.name();
            if (n == u"top")
                into.top = readBorder(x);
            else if (n == u"left" || n == u"start")
                into.left = readBorder(x);
            else if (n == u"bottom")
                into.bottom = readBorder(x);
            else if (n == u"right" || n == u"end")
                into.right = readBorder(x);
            else if (n == u"insideH")
                into.insideH = readBorder(x);
            else if (n == u"insideV")
                into.insideV = readBorder(x);
        }
        skip(x);
    });
}

rtf::Block Context::emptyParagraph()
{
    rtf::Paragraph p;
    p.markStyle = charStyle(paraLook(defaultParaStyle, 0, 0, false).run, {});
    p.terminated = true;
    return rtf::Block {std::move(p), nullptr};
}

void Context::readTable(XmlReader &x, rtf::Story &out, int tableDepth)
{
    if (tableDepth >= MaxTableDepth) {
        // Too deep to lay out in time: the cells' content stands as paragraphs.
        drop(QStringLiteral("tables nested too deeply, kept as paragraphs"));
        std::function<void()> flatten = [&] {
            if (is(x, Ns::W, QLatin1StringView("tc")))
                readBlocks(x, out, tableDepth);
            else if (nsOf(x.namespaceUri()) == Ns::W && (x.name() == u"tr" || x.name() == u"sdt" || x.name() == u"sdtContent"
                                                         || x.name() == u"customXml"))
                children(x, flatten);
            else
                skip(x);
        };
        children(x, flatten);
        return;
    }

    const QString outerStyle = std::exchange(tableStyle, QString());
    const TableParts outerParts = std::exchange(tableParts, 0);
    BorderSet tableBorders;
    std::optional<rtf::Colour> tableShading;
    int left = 0, gap = DefaultGap;
    rtf::Align align = rtf::Align::Left;
    std::vector<int> grid;
    auto table = std::make_unique<rtf::Table>();
    std::vector<std::vector<CellInfo>> infos;
    std::vector<bool> mergeOpen;
    bool stopped = false;
    // The parts of the table its style's looks are shown for (Word's
    // default for a new table when the table does not say).
    TableParts shown = partBit(TablePart::FirstRow) | partBit(TablePart::FirstColumn) | partBit(TablePart::OddRowBand)
        | partBit(TablePart::EvenRowBand);
    std::vector<const StyleEntry *> styleChain;
    int rowBand = 1, columnBand = 1;
    // The parts cell (row, first to last grid column) stands in; lastRow -1
    // while the table's rows are still being read.
    const auto partsAt = [&](int row, int lastRow, int first, int last, int lastGridColumn) {
        const auto on = [&](TablePart part) { return (shown & partBit(part)) != 0; };
        TableParts parts = 0;
        const bool firstRow = on(TablePart::FirstRow) && row == 0;
        const bool lastRowHere = on(TablePart::LastRow) && lastRow >= 0 && row == lastRow;
        const bool firstColumn = on(TablePart::FirstColumn) && first == 0;
        const bool lastColumn = on(TablePart::LastColumn) && lastGridColumn >= 0 && last >= lastGridColumn;
        const int bandRow = row - (on(TablePart::FirstRow) ? 1 : 0);
        if (!firstRow && !lastRowHere && bandRow >= 0 && on(TablePart::OddRowBand))
            parts |= partBit((bandRow / rowBand) % 2 == 0 ? TablePart::OddRowBand : TablePart::EvenRowBand);
        const int bandColumn = first - (on(TablePart::FirstColumn) ? 1 : 0);
        if (!firstColumn && !lastColumn && bandColumn >= 0 && on(TablePart::OddColumnBand))
            parts |= partBit((bandColumn / columnBand) % 2 == 0 ? TablePart::OddColumnBand : TablePart::EvenColumnBand);
        if (firstRow)
            parts |= partBit(TablePart::FirstRow);
        if (lastRowHere)
            parts |= partBit(TablePart::LastRow);
        if (firstColumn)
            parts |= partBit(TablePart::FirstColumn);
        if (lastColumn)
            parts |= partBit(TablePart::LastColumn);
        if (firstRow && firstColumn)
            parts |= partBit(TablePart::TopLeftCell);
        if (firstRow && lastColumn)
            parts |= partBit(TablePart::TopRightCell);
        if (lastRowHere && firstColumn)
            parts |= partBit(TablePart::BottomLeftCell);
        if (lastRowHere && lastColumn)
            parts |= partBit(TablePart::BottomRightCell);
        return parts;
    };

    const auto readTablePr = [&] {
        BorderSet own;
        QString styleId;
        children(x, [&] {
            if (nsOf(x.namespaceUri()) != Ns::W) {
                skip(x);
                return;
            }
            const QStringView n = x.name();
            if (n == u"tblBorders") {
                readBorders(x, own);
                return;
            }
            if (n == u"tblCellMar") {
                children(x, [&] {
                    if (is(x, Ns::W, QLatin1StringView("left")) || is(x, Ns::W, QLatin1StringView("start")))
                        gap = std::min(twipsOf(x), 1440);
                    skip(x);
                });
                return;
            }
            if (n == u"tblStyle")
                styleId = wattr(x, "val").toString();
            else if (n == u"tblLook") {
                // Each flag as an attribute of its own, or all in one hexadecimal value.
                const int val = wattr(x, "val").toInt(nullptr, 16);
                const auto flag = [&](const char *name, int bit) {
                    const QStringView v = wattr(x, name);
                    return v.isEmpty() ? (val & bit) != 0 : v == u"1" || v == u"true" || v == u"on";
                };
                const bool rowBands = !flag("noHBand", 0x200), columnBands = !flag("noVBand", 0x400);
                shown = 0;
                for (auto [on, parts] : {std::pair {flag("firstRow", 0x20), partBit(TablePart::FirstRow)},
                                         {flag("lastRow", 0x40), partBit(TablePart::LastRow)},
                                         {flag("firstColumn", 0x80), partBit(TablePart::FirstColumn)},
                                         {flag("lastColumn", 0x100), partBit(TablePart::LastColumn)},
                                         {rowBands, TableParts(partBit(TablePart::OddRowBand) | partBit(TablePart::EvenRowBand))},
                                         {columnBands, TableParts(partBit(TablePart::OddColumnBand) | partBit(TablePart::EvenColumnBand))}})
                    if (on)
                        shown |= parts;
            }
            else if (n == u"tblInd")
                left = std::clamp(number(wattr(x, "w")).value_or(0), -rtf::rules::MaxLength / 2, rtf::rules::MaxLength / 2);
            else if (n == u"jc")
                align = wattr(x, "val") == u"center" ? rtf::Align::Center
                    : wattr(x, "val") == u"right" || wattr(x, "val") == u"end" ? rtf::Align::Right
                                                                               : rtf::Align::Left;
            else if (n == u"shd") {
                if (const auto fill = hexColour(wattr(x, "fill")); fill && wattr(x, "val") != u"nil")
                    tableShading = rtf::Colour {*fill, true};
            }
            skip(x);
        });
        // The style's borders beneath the table's own.
        if (!styles.contains(styleId) || styles.value(styleId).type != 't')
            styleId.clear();
        tableStyle = styleId;
        styleChain = chain(styleId);
        for (const StyleEntry *e : styleChain) {
            if (e->rowBand && rowBand == 1)
                rowBand = e->rowBand;
            if (e->columnBand && columnBand == 1)
                columnBand = e->columnBand;
        }
        for (auto it = styleChain.rbegin(); it != styleChain.rend(); ++it) {
            const BorderSet &b = (*it)->borders;
            for (auto [into, from] : {std::pair {&tableBorders.top, &b.top}, {&tableBorders.left, &b.left},
                                      {&tableBorders.bottom, &b.bottom}, {&tableBorders.right, &b.right},
                                      {&tableBorders.insideH, &b.insideH}, {&tableBorders.insideV, &b.insideV}})
                if (*from)
                    *into = *from;
            if ((*it)->shading && !tableShading)
                tableShading = (*it)->shading;
        }
        for (auto [into, from] : {std::pair {&tableBorders.top, &own.top}, {&tableBorders.left, &own.left},
                                  {&tableBorders.bottom, &own.bottom}, {&tableBorders.right, &own.right},
                                  {&tableBorders.insideH, &own.insideH}, {&tableBorders.insideV, &own.insideV}})
            if (*from)
                *into = *from;
        if (align != rtf::Align::Left)
            left = 0;
    };

    // The right edge of grid column index (0-based), growing the grid as cells need.
    const auto edgeAfter = [&](int column, int widthHint) {
        while (int(grid.size()) <= column && int(grid.size()) < MaxColumns) {
            // Columns the grid lacks share the room left, so that each keeps an edge of its own.
            qint64 used = std::max(0, left);
            for (int w : grid)
                used += w;
            const int room = int(std::max<qint64>(20, (rtf::rules::MaxLength - used) / (MaxColumns + 1 - qint64(grid.size()))));
            grid.push_back(std::min(widthHint > 0 ? widthHint : DefaultColumn, room));
        }
        qint64 edge = left;
        for (int i = 0; i <= column && i < int(grid.size()); ++i)
            edge += grid[size_t(i)];
        return int(std::min<qint64>(edge, rtf::rules::MaxLength));
    };

    const auto readRow = [&] {
        rtf::Row row;
        std::vector<CellInfo> rowInfo;
        row.props.left = left;
        row.props.gap = gap;
        row.props.align = align;
        int column = 0;
        std::function<void()> cellElement;
        cellElement = [&] {
            if (nsOf(x.namespaceUri()) != Ns::W) {
                skip(x);
                return;
            }
            const QStringView n = x.name();
            if (n == u"trPr") {
                children(x, [&] {
                    if (nsOf(x.namespaceUri()) == Ns::W) {
                        const QStringView p = x.name();
                        if (p == u"gridBefore") {
                            column = std::clamp(number(wattr(x, "val")).value_or(0), 0, MaxColumns - 1);
                            if (column > 0)
                                drop(QStringLiteral("room left before a row's first cell"));
                        } else if (p == u"trHeight") {
                            const int h = std::clamp(number(wattr(x, "val")).value_or(0), 0, rtf::rules::MaxLength);
                            row.props.height = wattr(x, "hRule") == u"exact" ? -h : h;
                        } else if (p == u"tblHeader") {
                            row.props.header = onOff(x);
                        } else if (p == u"cantSplit") {
                            row.props.keep = onOff(x);
                        }
                    }
                    skip(x);
                });
                return;
            }
            if (n == u"sdt" || n == u"sdtContent" || n == u"customXml") {
                children(x, cellElement);
                return;
            }
            if (n != u"tc") {
                skip(x);
                return;
            }
            rtf::Cell cell;
            CellInfo info;
            int span = 1, width = 0;
            QStringView merge;
            bool merged = false;
            children(x, [&] {
                if (is(x, Ns::W, QLatin1StringView("tcPr"))) {
                    children(x, [&] {
                        if (nsOf(x.namespaceUri()) != Ns::W) {
                            skip(x);
                            return;
                        }
                        const QStringView p = x.name();
                        if (p == u"tcBorders") {
                            readBorders(x, info.own);
                            return;
                        }
                        if (p == u"gridSpan") {
                            span = std::clamp(number(wattr(x, "val")).value_or(1), 1, MaxColumns);
                        } else if (p == u"tcW") {
                            width = twipsOf(x);
                        } else if (p == u"vMerge") {
                            merged = true;
                            merge = wattr(x, "val") == u"restart" ? u"restart" : u"continue";
                        } else if (p == u"hMerge") {
                            drop(QStringLiteral("old-style merged cells"));
                        } else if (p == u"shd") {
                            if (const auto fill = hexColour(wattr(x, "fill")); fill && wattr(x, "val") != u"nil")
                                cell.props.shading = rtf::Colour {*fill, true};
                            info.ownShading = true;
                        } else if (p == u"vAlign") {
                            info.ownAlign = true;
                            const QStringView v = wattr(x, "val");
                            cell.props.verticalAlign = v == u"center" ? 1 : v == u"bottom" ? 2 : 0;
                        }
                        skip(x);
                    });
                } else {
                    tableParts = tableStyle.isEmpty()
                        ? 0 : partsAt(int(table->rows.size()), -1, column, column + span - 1, int(grid.size()) - 1);
                    readBlock(x, cell.content, tableDepth + 1);
                    tableParts = 0;
                }
            });
            flushCarried(cell.content);
            if (cell.content.blocks.empty())
                cell.content.blocks.push_back(emptyParagraph());
            if (column >= MaxColumns) {
                // Beyond the cap, cells join the last one.
                drop(QStringLiteral("cells beyond %1 in a row").arg(MaxColumns));
                if (!row.cells.empty()) {
                    for (rtf::Block &b : cell.content.blocks)
                        row.cells.back().content.blocks.push_back(std::move(b));
                }
                return;
            }
            span = std::min(span, MaxColumns - column);
            info.first = column;
            info.last = column + span - 1;
            cell.props.edge = edgeAfter(info.last, width > 0 ? width / span : 0);
            if (mergeOpen.size() < size_t(MaxColumns))
                mergeOpen.resize(size_t(MaxColumns), false);
            if (merged && merge == u"restart") {
                cell.props.vmergeFirst = true;
                mergeOpen[size_t(column)] = true;
            } else if (merged && mergeOpen[size_t(column)]) {
                cell.props.vmerged = true;
            } else {
                mergeOpen[size_t(column)] = false;
            }
            if (!cell.props.shading.set && tableShading)
                cell.props.shading = *tableShading;
            row.cells.push_back(std::move(cell));
            rowInfo.push_back(info);
            column += span;
        };
        children(x, cellElement);
        if (row.cells.empty() || stopped)
            return;
        cellBudget += qint64(row.cells.size());
        if (cellBudget > MaxCells) {
            drop(QStringLiteral("table cells beyond %1").arg(MaxCells));
            stopped = true;
            return;
        }
        rtf::dropBreaksWithinRow(row, tableDepth > 0, doc.dropped);
        table->rows.push_back(std::move(row));
        infos.push_back(std::move(rowInfo));
    };

    std::function<void()> element;
    element = [&] {
        if (nsOf(x.namespaceUri()) != Ns::W) {
            skip(x);
            return;
        }
        const QStringView n = x.name();
        if (n == u"tblPr") {
            readTablePr();
        } else if (n == u"tblGrid") {
            children(x, [&] {
                if (is(x, Ns::W, QLatin1StringView("gridCol")) && int(grid.size()) < MaxColumns)
                    grid.push_back(std::clamp(number(wattr(x, "w")).value_or(0), 20, rtf::rules::MaxLength));
                skip(x);
            });
            // A grid wider than the longest length the model takes shrinks to it.
            qint64 sum = 0;
            for (int w : grid)
                sum += w;
            const qint64 room = rtf::rules::MaxLength - std::max(0, left);
            if (sum > room)
                for (int &w : grid)
                    w = int(std::max<qint64>(20, qint64(w) * room / sum));
        } else if (n == u"tr") {
            if (stopped)
                skip(x);
            else
                readRow();
        } else if (n == u"sdt" || n == u"sdtContent" || n == u"customXml") {
            children(x, element);
        } else {
            skip(x);
        }
    };
    children(x, element);
    tableStyle = outerStyle;
    tableParts = outerParts;

    // A row that ends short of the others ends in an empty cell without
    // borders, as the table shows it, so that every row reaches the same edge.
    int widest = 0;
    for (const rtf::Row &r : table->rows)
        widest = std::max(widest, r.cells.back().props.edge);
    for (size_t r = 0; r < table->rows.size(); ++r) {
        rtf::Row &row = table->rows[r];
        if (row.cells.back().props.edge >= widest || row.cells.size() >= size_t(MaxColumns))
            continue;
        rtf::Cell pad;
        pad.props.edge = widest;
        pad.content.blocks.push_back(emptyParagraph());
        row.cells.push_back(std::move(pad));
        CellInfo none;
        none.own.top = none.own.left = none.own.bottom = none.own.right = rtf::Border {};
        none.first = none.last = infos[r].back().last + 1;
        infos[r].push_back(none);
    }

    // Borders: the cell's own, else the table's outer side or the one between cells.
    const size_t rows = table->rows.size();
    int lastColumn = 0;
    for (const auto &r : infos)
        for (const CellInfo &c : r)
            lastColumn = std::max(lastColumn, c.last);
    for (size_t r = 0; r < rows; ++r) {
        for (size_t c = 0; c < table->rows[r].cells.size(); ++c) {
            const CellInfo &info = infos[r][c];
            rtf::CellProps &p = table->rows[r].cells[c].props;
            const auto pick = [](const std::optional<rtf::Border> &own, const std::optional<rtf::Border> &outer) {
                return own ? *own : outer.value_or(rtf::Border {});
            };
            p.top = pick(info.own.top, r == 0 ? tableBorders.top : tableBorders.insideH);
            p.bottom = pick(info.own.bottom, r + 1 == rows ? tableBorders.bottom : tableBorders.insideH);
            p.left = pick(info.own.left, info.first == 0 ? tableBorders.left : tableBorders.insideV);
            p.right = pick(info.own.right, info.last >= lastColumn ? tableBorders.right : tableBorders.insideV);
            // The looks of the parts of the table the cell stands in, beneath its own.
            const TableParts parts = partsAt(int(r), int(rows) - 1, info.first, info.last, lastColumn);
            for (int part = 0; part < int(TablePart::Count) && parts; ++part) {
                if (!(parts & partBit(TablePart(part))))
                    continue;
                constexpr TableParts RowParts = partBit(TablePart::OddRowBand) | partBit(TablePart::EvenRowBand)
                    | partBit(TablePart::FirstRow) | partBit(TablePart::LastRow);
                constexpr TableParts ColumnParts = partBit(TablePart::OddColumnBand) | partBit(TablePart::EvenColumnBand)
                    | partBit(TablePart::FirstColumn) | partBit(TablePart::LastColumn);
                const bool rowPart = RowParts & partBit(TablePart(part));
                const bool columnPart = ColumnParts & partBit(TablePart(part));
                for (auto it = styleChain.rbegin(); it != styleChain.rend(); ++it) {
                    const auto &look = (*it)->parts[size_t(part)];
                    if (!look)
                        continue;
                    // Within a row's part the sides between cells are its inside ones; so for columns.
                    const BorderSet &b = look->borders;
                    const auto &left = rowPart && info.first > 0 && b.insideV ? b.insideV : b.left;
                    const auto &right = rowPart && info.last < lastColumn && b.insideV ? b.insideV : b.right;
                    const auto &top = columnPart && r > 0 && b.insideH ? b.insideH : b.top;
                    const auto &bottom = columnPart && r + 1 < rows && b.insideH ? b.insideH : b.bottom;
                    for (auto [into, own, from] : {std::tuple {&p.top, &info.own.top, &top}, {&p.bottom, &info.own.bottom, &bottom},
                                                   {&p.left, &info.own.left, &left}, {&p.right, &info.own.right, &right}})
                        if (!*own && *from)
                            *into = **from;
                    if (!info.ownAlign && look->align)
                        p.verticalAlign = *look->align;
                    if (!info.ownShading && look->shading)
                        p.shading = *look->shading;
                }
            }
        }
    }
    if (!table->rows.empty())
        out.blocks.push_back(rtf::Block {rtf::Paragraph {}, std::move(table)});
}

} // namespace docx
