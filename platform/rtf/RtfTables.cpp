#include "RtfTables.h"

#include "RtfBuild.h"
#include "RtfParser.h"
#include "RtfRules.h"
#include "RtfWriting.h"

#include <QTextTable>

#include <algorithm>

namespace rtf {

using namespace tableWords;

namespace {

constexpr int MaxCellDefinitions = 63;     // the widest row Word writes, and the most a row holds here
constexpr int MaxTableDepth = 8;           // deeper nesting costs Qt time doubling with each level
using rules::MaxLength;

// The tables open while a file is read, per story (a note's table leaves
// the row around it as it was), innermost last, and the row being defined.
class TableAssembler final : public FamilyState
{
public:
    static constexpr Family Slot = Family::Tables;

    struct Open {
        std::unique_ptr<Table> table = std::make_unique<Table>();
        std::vector<Cell> rowCells;
        Cell cell;
        bool cellOpen = false;
    };
    struct StoryTables {
        std::vector<Open> open;
        std::vector<RowProps> rowDefs;      // per table depth
    };

    CellProps pendingCell;
    Border *borderTarget = nullptr;         // the border the next \brdr words describe
    bool nestedDefinitions = false;         // in \nesttableprops

    StoryTables &current(Parser &p)
    {
        while (int(m_stories.size()) < p.storyDepth())
            m_stories.emplace_back();
        return m_stories[size_t(p.storyDepth() - 1)];
    }
    RowProps &rowDef(Parser &p, int depth)
    {
        depth = std::clamp(depth, 1, MaxTableDepth);
        std::vector<RowProps> &defs = current(p).rowDefs;
        if (defs.size() < size_t(depth))
            defs.resize(size_t(depth));
        return defs[size_t(depth - 1)];
    }
    int depthForDefinitions(Parser &p)
    {
        if (!nestedDefinitions)
            return 1;
        return std::clamp(std::max(int(current(p).open.size()), p.state().para.depth), 2, MaxTableDepth);
    }

    void place(Parser &p, Paragraph &&paragraph, ParagraphMark mark)
    {
        const ParaState &para = p.state().para;
        int depth = para.inTable ? std::clamp(para.depth, 1, MaxTableDepth) : 0;
        if (mark != ParagraphMark::Paragraph)
            depth = std::clamp(std::max(depth, mark == ParagraphMark::NestCell ? 2 : 1), 1, MaxTableDepth);
        closeDeeperThan(p, depth);
        std::vector<Open> &open = current(p).open;
        while (int(open.size()) < depth)
            open.emplace_back();
        addBlock(p, depth, Block {std::move(paragraph), nullptr});
        if (mark != ParagraphMark::Paragraph)
            finishCell(p, depth);
    }

    void endRow(Parser &p, bool nested)
    {
        std::vector<Open> &open = current(p).open;
        const int depth = nested ? std::clamp(std::max(int(open.size()), p.state().para.depth), 2, MaxTableDepth) : 1;
        if (!p.paragraph().runs.empty())
            p.endParagraph(nested ? ParagraphMark::NestCell : ParagraphMark::Cell);  // text after the last cell is one more
        closeDeeperThan(p, depth);
        while (int(current(p).open.size()) < depth)
            current(p).open.emplace_back();
        finishRow(p, depth);
    }

    void closeDeeperThan(Parser &p, int depth)
    {
        std::vector<Open> &open = current(p).open;
        while (int(open.size()) > depth) {
            const int d = int(open.size());
            if (open.back().cellOpen)
                finishCell(p, d);
            finishRow(p, d);       // a row without its \row still counts
            std::unique_ptr<Table> table = std::move(open.back().table);
            open.pop_back();
            if (!table->rows.empty())
                addBlock(p, d - 1, Block {Paragraph {}, std::move(table)});
        }
    }

    bool atTableEnd(Parser &p) { return p.paragraph().runs.empty() && !current(p).open.empty(); }

    void storyEnd(Parser &p) override
    {
        closeDeeperThan(p, 0);
        if (int(m_stories.size()) >= p.storyDepth())
            m_stories.resize(size_t(p.storyDepth() - 1));
    }
    void documentEnd(Parser &p) override { closeDeeperThan(p, 0); }

private:
    void addBlock(Parser &p, int depth, Block block)
    {
        if (depth == 0) {
            p.addBlock(std::move(block));
            return;
        }
        Open &t = current(p).open[size_t(depth - 1)];
        t.cell.content.blocks.push_back(std::move(block));
        t.cellOpen = true;
    }

    void finishCell(Parser &p, int depth)
    {
        Open &t = current(p).open[size_t(depth - 1)];
        if (int(t.rowCells.size()) >= MaxCellDefinitions && !t.rowCells.empty()) {
            // Beyond the cap, cells join the last one.
            auto &last = t.rowCells.back().content.blocks;
            for (Block &b : t.cell.content.blocks)
                last.push_back(std::move(b));
            p.doc().dropped.add(QStringLiteral("cells beyond %1 in a row").arg(MaxCellDefinitions));
        } else {
            t.rowCells.push_back(std::move(t.cell));
        }
        t.cell = Cell {};
        t.cellOpen = false;
    }

    void finishRow(Parser &p, int depth)
    {
        Open &t = current(p).open[size_t(depth - 1)];
        if (t.cellOpen)
            finishCell(p, depth);
        if (t.rowCells.empty())
            return;
        const RowProps &def = rowDef(p, depth);
        Row row;
        row.props = def;
        row.props.cells.clear();
        row.cells = std::move(t.rowCells);
        t.rowCells.clear();
        // Each cell takes its definition; cells the definition lacks get one.
        int right = def.left;
        for (size_t i = 0; i < row.cells.size(); ++i) {
            if (i < def.cells.size())
                row.cells[i].props = def.cells[i];
            else
                row.cells[i].props.edge = right + 1440;
            // Edges out of order or absurd are put in order, within the longest
            // length, as they read again once written.
            row.cells[i].props.edge = std::max(right + 1, std::min(row.cells[i].props.edge, rules::MaxLength));
            right = row.cells[i].props.edge;
        }
        dropBreaksWithinRow(row, depth > 1, p.doc().dropped);
        t.table->rows.push_back(std::move(row));
    }

    std::vector<StoryTables> m_stories;
};

// {\*\nesttableprops\trowd ...\cellx ...\nestrow}: the definition of the
// nested row whose cells came just before.
class NestTablePropsDest final : public Dest
{
public:
    explicit NestTablePropsDest(Parser &p) { p.family<TableAssembler>().nestedDefinitions = true; }
    bool word(Parser &p, const Keyword *k, const Token &) override
    {
        if (k && k->family == Family::Tables && k->id == NestedRowEnd) {
            p.family<TableAssembler>().endRow(p, true);
            return true;
        }
        return false;
    }
    void close(Parser &p) override { p.family<TableAssembler>().nestedDefinitions = false; }
};

} // namespace

void tablesWord(Parser &p, int id, const Token &t)
{
    const bool body = p.inText();
    TableAssembler &tables = p.family<TableAssembler>();
    RowProps &row = tables.rowDef(p, tables.depthForDefinitions(p));
    CellProps &cell = tables.pendingCell;
    Border *&border = tables.borderTarget;
    const auto setBorder = [&](quint8 style) {
        if (border)
            border->style = style;
    };
    switch (id) {
    case RowDefaults:
        row = RowProps {};
        cell = CellProps {};
        border = nullptr;
        break;
    case CellEdge:
        cell.edge = std::clamp(t.param, -MaxLength, MaxLength);
        if (int(row.cells.size()) < MaxCellDefinitions)
            row.cells.push_back(cell);
        cell = CellProps {};
        border = nullptr;
        break;
    case CellEnd:
        if (body)
            p.endParagraph(Parser::Mark::Cell);
        break;
    case NestedCellEnd:
        if (body)
            p.endParagraph(Parser::Mark::NestCell);
        break;
    case RowEnd:
        if (body)
            tables.endRow(p, false);
        break;
    case NestedRowEnd:
        if (body)
            tables.endRow(p, true);
        break;
    case NestTableProps:
        if (p.nested())
            p.open(std::make_unique<NestTablePropsDest>(p));
        break;
    case NoNestTables:
        p.skipGroup();     // the same row again for readers without nesting
        break;
    case RowGap: row.gap = std::clamp(t.param, 0, MaxLength); break;
    case RowLeft: row.left = std::clamp(t.param, -MaxLength, MaxLength); break;
    case RowHeight: row.height = std::clamp(t.param, -MaxLength, MaxLength); break;
    case RowHeader: row.header = true; break;
    case RowKeep: row.keep = true; break;
    case RowAlignLeft: row.align = Align::Left; break;
    case RowAlignCenter: row.align = Align::Center; break;
    case RowAlignRight: row.align = Align::Right; break;
    case CellBorderTop: border = &cell.top; break;
    case CellBorderLeft: border = &cell.left; break;
    case CellBorderBottom: border = &cell.bottom; break;
    case CellBorderRight: border = &cell.right; break;
    case BorderSingle: setBorder(1); break;
    case BorderDouble: setBorder(2); break;
    case BorderDotted: setBorder(3); break;
    case BorderDashed: setBorder(4); break;
    case BorderThick: setBorder(5); break;
    case BorderNone: setBorder(0); break;
    case BorderWidth:
        if (border)
            border->width = std::clamp(t.param, 0, 255);
        break;
    case BorderColour:
        if (border)
            border->colour = p.colour(t.param);
        break;
    case CellShading: cell.shading = p.colour(t.param); break;
    case CellShadingPercent: cell.shadingPercent = std::clamp(t.param, 0, 10000); break;
    case CellTop: cell.verticalAlign = 0; break;
    case CellMiddle: cell.verticalAlign = 1; break;
    case CellBottom: cell.verticalAlign = 2; break;
    case CellMergeFirst: cell.mergeFirst = true; break;
    case CellMerged: cell.merged = true; break;
    case CellVMergeFirst: cell.vmergeFirst = true; break;
    case CellVMerged: cell.vmerged = true; break;
    case RowKeptWord:
    case CellKeptWord:
        keepWord(id == RowKeptWord ? row.kept : cell.kept, t, 1024);
        break;
    default: break;
    }
}

void placeParagraph(Parser &p, Paragraph &&paragraph, ParagraphMark mark)
{
    p.family<TableAssembler>().place(p, std::move(paragraph), mark);
}

void closeTables(Parser &p)
{
    p.family<TableAssembler>().closeDeeperThan(p, 0);
}

bool atTableEnd(Parser &p)
{
    return p.family<TableAssembler>().atTableEnd(p);
}

// ---- Qt's document ----------------------------------------------------------------------------

namespace {

constexpr int MaxColumns = 64;

QTextFrameFormat::BorderStyle qtBorderStyle(quint8 style)
{
    switch (style) {
    case 2: return QTextFrameFormat::BorderStyle_Double;
    case 3: return QTextFrameFormat::BorderStyle_Dotted;
    case 4: return QTextFrameFormat::BorderStyle_Dashed;
    case 0: return QTextFrameFormat::BorderStyle_None;
    default: return QTextFrameFormat::BorderStyle_Solid;
    }
}

QTextTableCellFormat cellFormat(const CellProps &c, int gap)
{
    QTextTableCellFormat f;
    const double pad = rules::pixels(gap);
    f.setLeftPadding(pad);
    f.setRightPadding(pad);
    f.setTopPadding(0);
    f.setBottomPadding(0);
    const auto side = [](const Border &b, auto setWidth, auto setStyle, auto setBrush) {
        if (b.style == 0)
            return;
        setWidth(std::max(1.0, rules::pixels(b.width)));
        setStyle(qtBorderStyle(b.style));
        setBrush(QBrush(b.colour.set ? QColor(b.colour.rgb) : QColor(Qt::black)));
    };
    side(c.top, [&](double w) { f.setTopBorder(w); }, [&](auto s) { f.setTopBorderStyle(s); },
         [&](const QBrush &b) { f.setTopBorderBrush(b); });
    side(c.left, [&](double w) { f.setLeftBorder(w); }, [&](auto s) { f.setLeftBorderStyle(s); },
         [&](const QBrush &b) { f.setLeftBorderBrush(b); });
    side(c.bottom, [&](double w) { f.setBottomBorder(w); }, [&](auto s) { f.setBottomBorderStyle(s); },
         [&](const QBrush &b) { f.setBottomBorderBrush(b); });
    side(c.right, [&](double w) { f.setRightBorder(w); }, [&](auto s) { f.setRightBorderStyle(s); },
         [&](const QBrush &b) { f.setRightBorderBrush(b); });
    // A side without a border has no width.
    const auto written = [](const Border &b) { return CellBordersRef::Side {b.style, b.style ? b.width : 0}; };
    f.setProperty(CellBorderKindsProperty, QVariant::fromValue(CellBordersRef {written(c.top), written(c.left),
                                                                               written(c.bottom), written(c.right)}));
    if (c.shading.set)
        f.setBackground(QColor(c.shading.rgb));
    if (c.shadingPercent)
        f.setProperty(CellShadingPercentProperty, c.shadingPercent);
    if (!c.kept.isEmpty())
        f.setProperty(CellKeptWordsProperty, c.kept);
    if (c.verticalAlign == 1)
        f.setVerticalAlignment(QTextCharFormat::AlignMiddle);
    else if (c.verticalAlign == 2)
        f.setVerticalAlignment(QTextCharFormat::AlignBottom);
    return f;
}

// A cell of the file placed on the table's grid.
struct Placed {
    int row, column, rowSpan = 1, columnSpan = 1;
    const Cell *cell;
    std::vector<const Story *> more;    // merged cells' content, after the cell's own
    int merged = 0;                     // 1 \clmgf, 2 \clvmgf
};

} // namespace

QTextTable *buildTable(Builder &b, QTextCursor &cursor, const Table &table)
{
    // The grid: every edge any row has, as Qt tables have one set of columns.
    std::vector<int> edges;
    for (const Row &row : table.rows) {
        edges.push_back(row.props.left);
        for (const Cell &cell : row.cells)
            edges.push_back(cell.props.edge);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    if (edges.size() < 2)
        edges.push_back(edges.empty() ? 1440 : edges.back() + 1440);
    // Too many distinct edges: each is snapped to a grid of MaxColumns
    // columns, and a cell's edge is looked up as snapped, so that it ends
    // where its column does.
    const bool snapping = edges.size() > size_t(MaxColumns + 1);
    const int lo = edges.front(), span = std::max(1, edges.back() - lo);
    const auto snap = [&](int x) {
        if (!snapping)
            return x;
        const qint64 step = std::clamp<qint64>(x - lo, 0, span) * MaxColumns / span;
        return lo + int(step * span / MaxColumns);
    };
    if (snapping) {
        for (int &e : edges)
            e = snap(e);
        edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    }
    const int columns = int(edges.size()) - 1;
    const auto column = [&](int x) {
        return std::clamp(int(std::lower_bound(edges.begin(), edges.end(), snap(x)) - edges.begin()), 0, columns);
    };

    std::vector<Placed> placed;
    std::vector<int> openVertical(size_t(columns), -1);    // per column: the cell a \clvmrg continues
    for (size_t r = 0; r < table.rows.size(); ++r) {
        const Row &row = table.rows[r];
        int left = row.props.left;
        int previous = -1;
        int next = 0;       // the first column the row's next cell may take
        std::vector<int> started(size_t(columns), -1);
        for (const Cell &cell : row.cells) {
            // Cells that snapping made narrower than a column take one each;
            // those left without a column join the cell before.
            if (next >= columns && previous >= 0) {
                placed[size_t(previous)].more.push_back(&cell.content);
                continue;
            }
            int c0 = std::min(std::max(column(left), next), columns - 1);
            int c1 = std::max(column(cell.props.edge), c0 + 1);
            left = cell.props.edge;
            next = c1;
            if (cell.props.merged && previous >= 0) {
                Placed &p = placed[size_t(previous)];
                p.columnSpan = std::max(p.columnSpan, c1 - p.column);
                p.more.push_back(&cell.content);
                p.merged = 1;   // written back as merged cells, so every edge stays
                continue;
            }
            if (cell.props.vmerged && openVertical[size_t(c0)] >= 0) {
                Placed &p = placed[size_t(openVertical[size_t(c0)])];
                if (p.row + p.rowSpan == int(r)) {
                    p.rowSpan += 1;
                    p.more.push_back(&cell.content);
                    started[size_t(c0)] = openVertical[size_t(c0)];
                    continue;
                }
            }
            Placed p {int(r), c0, 1, c1 - c0, &cell, {}, 0};
            if (cell.props.mergeFirst)
                p.merged = 1;
            placed.push_back(p);
            previous = int(placed.size()) - 1;
            if (cell.props.vmergeFirst) {
                placed.back().merged = placed.back().merged ? placed.back().merged : 2;
                started[size_t(c0)] = previous;
            }
        }
        openVertical = started;
    }

    QTextTableFormat format;
    format.setBorderCollapse(true);
    format.setBorder(0);
    format.setCellSpacing(0);
    format.setCellPadding(0);
    QList<QTextLength> widths;
    for (int c = 0; c < columns; ++c)
        widths.append(QTextLength(QTextLength::FixedLength, rules::pixels(edges[size_t(c + 1)] - edges[size_t(c)])));
    format.setColumnWidthConstraints(widths);
    int headers = 0;
    while (headers < int(table.rows.size()) && table.rows[size_t(headers)].props.header)
        ++headers;
    format.setHeaderRowCount(headers);
    const Align align = table.rows.front().props.align;
    format.setAlignment(align == Align::Center ? Qt::AlignHCenter : align == Align::Right ? Qt::AlignRight : Qt::AlignLeft);

    const int rows = int(table.rows.size());
    QTextTable *t = cursor.insertTable(rows, columns, format);
    std::vector<bool> covered(size_t(rows * columns), false);
    for (const Placed &p : placed) {
        const int rs = std::min(p.rowSpan, rows - p.row);
        const int cs = std::min(p.columnSpan, columns - p.column);
        bool free = true;
        for (int r = p.row; r < p.row + rs && free; ++r)
            for (int c = p.column; c < p.column + cs; ++c)
                free = free && !covered[size_t(r * columns + c)];
        if (!free)
            continue;
        for (int r = p.row; r < p.row + rs; ++r)
            for (int c = p.column; c < p.column + cs; ++c)
                covered[size_t(r * columns + c)] = true;
        if (rs > 1 || cs > 1)
            t->mergeCells(p.row, p.column, rs, cs);
    }
    // Every cell is looked up before any is filled: Qt's table works its
    // grid out again after each change, which made filling cell by cell
    // quadratic. Cells are filled last to first, so that the places of the
    // ones before stay where they were.
    struct Target {
        QTextTableCell cell;
        const Placed *placed;
    };
    std::vector<Target> targets;
    targets.reserve(placed.size());
    // Grid cells no cell of the file covers. The writer leaves those at a
    // row's start and end out and writes those between others as plain
    // cells, so the latter are plain cells here too.
    std::vector<QTextTableCell> fillers, plain;
    for (int r = 0; r < rows; ++r) {
        int first = columns, last = -1;
        for (int c = 0; c < columns; ++c) {
            if (covered[size_t(r * columns + c)]) {
                first = std::min(first, c);
                last = c;
            }
        }
        for (int c = 0; c < columns; ++c)
            if (!covered[size_t(r * columns + c)])
                (c > first && c < last ? plain : fillers).push_back(t->cellAt(r, c));
    }
    for (const Placed &p : placed) {
        QTextTableCell cell = t->cellAt(p.row, p.column);
        if (cell.row() == p.row && cell.column() == p.column)
            targets.push_back(Target {cell, &p});     // else overlapped by an earlier merge
    }
    for (QTextTableCell &cell : fillers) {
        QTextTableCellFormat filler;
        filler.setProperty(CellFillerProperty, true);
        cell.setFormat(filler);
    }
    // A row's properties ride on the first cell that starts in it, as the
    // writer looks for them.
    std::vector<int> holder(size_t(rows), columns);
    for (const Target &target : targets)
        holder[size_t(target.placed->row)] = std::min(holder[size_t(target.placed->row)], target.cell.column());
    for (const QTextTableCell &cell : plain)
        holder[size_t(cell.row())] = std::min(holder[size_t(cell.row())], cell.column());
    const auto rowProperties = [&](QTextTableCellFormat &f, int r) {
        const Row &row = table.rows[size_t(r)];
        f.setProperty(RowPropertiesProperty, QVariant::fromValue(RowRef {row.props.gap, snap(row.props.left), row.props.height,
                                                                         row.props.header, row.props.keep, row.props.align}));
        if (!row.props.kept.isEmpty())
            f.setProperty(RowKeptWordsProperty, row.props.kept);
    };
    for (QTextTableCell &cell : plain) {
        QTextTableCellFormat f = cellFormat(CellProps {}, table.rows[size_t(cell.row())].props.gap);
        f.setProperty(CellColumnWidthsProperty,
                      QVariant::fromValue(QList<int> {edges[size_t(cell.column() + 1)] - edges[size_t(cell.column())]}));
        if (holder[size_t(cell.row())] == cell.column())
            rowProperties(f, cell.row());
        cell.setFormat(f);
    }
    for (const Target &target : targets) {
        const Placed &p = *target.placed;
        const Row &row = table.rows[size_t(p.row)];
        QTextTableCellFormat f = cellFormat(p.cell->props, row.props.gap);
        // How the file merged a cell counts only where it spans.
        if ((p.merged == 1 && target.cell.columnSpan() > 1) || (p.merged == 2 && target.cell.rowSpan() > 1))
            f.setProperty(CellMergedProperty, p.merged);
        // A copy of some of the cells keeps their widths, not the table's.
        QList<int> spanned;
        for (int c = p.column; c < std::min(columns, p.column + target.cell.columnSpan()); ++c)
            spanned.append(edges[size_t(c + 1)] - edges[size_t(c)]);
        f.setProperty(CellColumnWidthsProperty, QVariant::fromValue(spanned));
        if (holder[size_t(p.row)] == target.cell.column())
            rowProperties(f, p.row);
        // The cell's format is also its first paragraph's mark format, which
        // counts only when the paragraph is empty. Qt's table layout copies
        // cell formats often: they carry no more than they must.
        const Story &content = p.cell->content;
        QTextCharFormat format;
        if (!content.blocks.empty() && !content.blocks.front().table && content.blocks.front().paragraph.runs.empty())
            format = b.charFormat(content.blocks.front().paragraph.markStyle, -1);
        format.merge(f);
        QTextTableCell cell = target.cell;
        cell.setFormat(format);
    }
    for (auto it = targets.rbegin(); it != targets.rend(); ++it) {
        const Placed &p = *it->placed;
        QTextCursor inside = it->cell.firstCursorPosition();
        b.buildStory(inside, p.cell->content, true);
        for (const Story *more : p.more) {
            // Merged cells' text, when they had any, follows the cell's own.
            const bool empty = std::all_of(more->blocks.begin(), more->blocks.end(), [](const Block &block) {
                return !block.table && block.paragraph.runs.empty();
            });
            if (empty)
                continue;
            inside = it->cell.lastCursorPosition();
            inside.insertBlock();
            b.buildStory(inside, *more);
        }
    }
    cursor = t->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextBlock);
    return t;
}

// ---- writing ------------------------------------------------------------------------------------

namespace {

constexpr int DefaultTextWidth = 9360;  // twips between Letter-size margins

struct RowCell {
    enum Kind { Anchor, Below, Beside, Empty } kind;
    QTextTableCell cell;    // the anchor the cell belongs to
    int edge;               // its right edge
    bool firstOfSpan = false;
};

std::vector<int> columnWidths(const QTextTable *table)
{
    const int columns = table->columns();
    const QList<QTextLength> constraints = table->format().columnWidthConstraints();
    std::vector<int> widths(size_t(columns), DefaultTextWidth / std::max(1, columns));
    if (constraints.size() != columns) {
        // Cut from a larger table: the cells know the widths of their columns.
        for (int c = 0; c < columns; ++c) {
            for (int r = 0; r < table->rows(); ++r) {
                const QTextTableCell cell = table->cellAt(r, c);
                const QList<int> spanned = cell.format().property(CellColumnWidthsProperty).value<QList<int>>();
                if (c - cell.column() < spanned.size()) {
                    widths[size_t(c)] = std::max(1, spanned[c - cell.column()]);
                    break;
                }
            }
        }
        return widths;
    }
    for (int c = 0; c < columns; ++c) {
        const QTextLength &l = constraints[c];
        if (l.type() == QTextLength::FixedLength)
            widths[size_t(c)] = std::max(1, rules::twips(l.rawValue()));
        else if (l.type() == QTextLength::PercentageLength)
            widths[size_t(c)] = std::max(1, int(DefaultTextWidth * l.rawValue() / 100));
    }
    return widths;
}

void writeBorders(RtfOut &out, Writer &w, const QTextTableCellFormat &f)
{
    const QVariant kept = f.property(CellBorderKindsProperty);
    const bool asWritten = kept.metaType() == QMetaType::fromType<CellBordersRef>();
    const CellBordersRef borders = kept.value<CellBordersRef>();
    const CellBordersRef::Side sides[] = {borders.top, borders.left, borders.bottom, borders.right};
    const char *const words[] = {"clbrdrt", "clbrdrl", "clbrdrb", "clbrdrr"};
    const qreal widths[] = {f.topBorder(), f.leftBorder(), f.bottomBorder(), f.rightBorder()};
    const QBrush brushes[] = {f.topBorderBrush(), f.leftBorderBrush(), f.bottomBorderBrush(), f.rightBorderBrush()};
    for (int side = 0; side < 4; ++side) {
        // A border drawn here and never written takes the plain kind.
        const int style = asWritten ? sides[side].style : widths[side] > 0 ? 1 : 0;
        const int width = asWritten ? sides[side].width : rules::twips(widths[side]);
        if (style == 0)
            continue;
        out.word(words[side]);
        switch (style) {
        case 2: out.word("brdrdb"); break;
        case 3: out.word("brdrdot"); break;
        case 4: out.word("brdrdash"); break;
        case 5: out.word("brdrth"); break;
        default: out.word("brdrs"); break;
        }
        if (width > 0)
            out.word("brdrw", width);
        if (brushes[side].style() != Qt::NoBrush && brushes[side].color() != QColor(Qt::black))
            out.word("brdrcf", w.colour(brushes[side].color().rgb()));
    }
}

void writeDefinition(Writer &w, const RowRef &row, const QByteArray &rowKept, const std::vector<RowCell> &cells,
                     int left)
{
    RtfOut &out = w.out();
    out.word("trowd");
    out.word("trgaph", row.gap);
    out.word("trleft", left);
    if (row.height)
        out.word("trrh", row.height);
    if (row.header)
        out.word("trhdr");
    if (row.keep)
        out.word("trkeep");
    if (row.align == Align::Center)
        out.word("trqc");
    else if (row.align == Align::Right)
        out.word("trqr");
    out.rawWord(rowKept);
    for (const RowCell &c : cells) {
        if (c.kind != RowCell::Empty) {
            const QTextTableCellFormat f = c.cell.format().toTableCellFormat();
            if (c.kind == RowCell::Anchor && c.cell.rowSpan() > 1)
                out.word("clvmgf");
            if (c.kind == RowCell::Below)
                out.word("clvmrg");
            if (c.kind == RowCell::Anchor && c.firstOfSpan)
                out.word("clmgf");
            if (c.kind == RowCell::Beside)
                out.word("clmrg");
            if (f.verticalAlignment() == QTextCharFormat::AlignMiddle)
                out.word("clvertalc");
            else if (f.verticalAlignment() == QTextCharFormat::AlignBottom)
                out.word("clvertalb");
            writeBorders(out, w, f);
            if (f.background().style() != Qt::NoBrush)
                out.word("clcbpat", w.colour(f.background().color().rgb()));
            if (f.hasProperty(CellShadingPercentProperty))
                out.word("clshdng", f.intProperty(CellShadingPercentProperty));
            if (c.kind == RowCell::Anchor)
                out.rawWord(f.property(CellKeptWordsProperty).toByteArray());
        }
        out.word("cellx", c.edge);
    }
}

} // namespace

void writeTable(Writer &w, QTextTable *table, int depth)
{
    RtfOut &out = w.out();
    const int rows = table->rows();
    const int columns = table->columns();
    const std::vector<int> widths = columnWidths(table);
    const int headerRows = table->format().headerRowCount();
    for (int r = 0; r < rows; ++r) {
        // The row's properties ride on its first cell.
        std::optional<RowRef> row;
        QByteArray rowKept;
        for (int c = 0; c < columns && !row; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            const QVariant kept = cell.format().property(RowPropertiesProperty);
            if (cell.row() == r && kept.metaType() == QMetaType::fromType<RowRef>()) {
                row = kept.value<RowRef>();
                rowKept = cell.format().property(RowKeptWordsProperty).toByteArray();
            }
        }
        if (!row) {
            // A row made here: its look from the table's.
            const Qt::Alignment a = table->format().alignment();
            row = RowRef {};
            row->header = r < headerRows;
            row->align = a & Qt::AlignHCenter ? Align::Center : a & Qt::AlignRight ? Align::Right : Align::Left;
        }
        // The cells: merged ones as the file had them, grid cells no cell of
        // the file covered at the row's start and end left out.
        int first = 0;
        while (first < columns && table->cellAt(r, first).format().boolProperty(CellFillerProperty))
            ++first;
        int last = columns;
        while (last > first && table->cellAt(r, last - 1).format().boolProperty(CellFillerProperty))
            --last;
        std::vector<int> edges(size_t(columns) + 1, row->left);
        for (int c = first; c < columns; ++c)
            edges[size_t(c) + 1] = edges[size_t(c)] + widths[size_t(c)];
        std::vector<RowCell> cells;
        for (int c = first; c < last;) {
            const QTextTableCell cell = table->cellAt(r, c);
            const int span = std::max(1, cell.column() + cell.columnSpan() - c);
            if (cell.format().boolProperty(CellFillerProperty)) {
                cells.push_back(RowCell {RowCell::Empty, cell, edges[size_t(c) + 1]});
                ++c;
                continue;
            }
            if (cell.row() != r) {
                cells.push_back(RowCell {RowCell::Below, cell, edges[size_t(std::min(columns, c + span))]});
                c += span;
                continue;
            }
            if (cell.format().intProperty(CellMergedProperty) == 1 && span > 1) {
                cells.push_back(RowCell {RowCell::Anchor, cell, edges[size_t(c) + 1], true});
                for (int k = 1; k < span; ++k)
                    cells.push_back(RowCell {RowCell::Beside, cell, edges[size_t(c + k) + 1]});
            } else {
                cells.push_back(RowCell {RowCell::Anchor, cell, edges[size_t(std::min(columns, c + span))]});
            }
            c += span;
        }
        if (cells.empty())
            continue;
        if (depth <= 1) {
            // A page break before the row's first paragraph stands before the row.
            const QTextBlockFormat opening = cells.front().cell.firstCursorPosition().blockFormat();
            if (opening.boolProperty(PageBreakCharProperty) && (opening.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore))
                out.word("page");
            writeDefinition(w, *row, rowKept, cells, edges[size_t(first)]);
        }
        for (const RowCell &c : cells) {
            if (c.kind == RowCell::Anchor) {
                w.cell(c.cell, depth);
                continue;
            }
            // A cell the one before or above covers: an empty paragraph.
            out.word("pard");
            out.word("intbl");
            if (depth > 1)
                out.word("itap", depth);
            out.word(depth > 1 ? "nestcell" : "cell");
        }
        if (depth <= 1) {
            out.word("row");
            out.newline();
            continue;
        }
        out.open();
        out.star();
        out.word("nesttableprops");
        writeDefinition(w, *row, rowKept, cells, edges[size_t(first)]);
        out.word("nestrow");
        out.close();
        out.open();
        out.word("nonesttables");
        out.word("par");
        out.close();
        out.newline();
    }
}

} // namespace rtf
