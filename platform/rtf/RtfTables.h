#pragma once

#include "RtfKeywords.h"

// Tables: row definitions (\trowd ... \cellx), cell and row ends, nesting.
namespace rtf {

class Parser;
struct Token;

enum TablesId {
    RowDefaults, CellEdge, CellEnd, NestedCellEnd, RowEnd, NestedRowEnd, NestTableProps, NoNestTables,
    RowGap, RowLeft, RowHeight, RowHeader, RowKeep, RowAlignLeft, RowAlignCenter, RowAlignRight,
    CellBorderTop, CellBorderLeft, CellBorderBottom, CellBorderRight,
    BorderSingle, BorderDouble, BorderDotted, BorderDashed, BorderThick, BorderNone, BorderWidth, BorderColour,
    CellShading, CellShadingPercent, CellTop, CellMiddle, CellBottom,
    CellMergeFirst, CellMerged, CellVMergeFirst, CellVMerged, RowKeptWord, CellKeptWord,
};

inline constexpr Keyword tablesKeywords[] = {
    {"trowd", Family::Tables, RowDefaults, Kind::Flag}, {"cellx", Family::Tables, CellEdge, Kind::Value},
    {"cell", Family::Tables, CellEnd, Kind::Symbol}, {"nestcell", Family::Tables, NestedCellEnd, Kind::Symbol},
    {"row", Family::Tables, RowEnd, Kind::Symbol}, {"nestrow", Family::Tables, NestedRowEnd, Kind::Symbol},
    {"nesttableprops", Family::Tables, NestTableProps, Kind::Destination},
    {"nonesttables", Family::Tables, NoNestTables, Kind::Destination},
    {"trgaph", Family::Tables, RowGap, Kind::Value}, {"trleft", Family::Tables, RowLeft, Kind::Value},
    {"trrh", Family::Tables, RowHeight, Kind::Value},
    {"trhdr", Family::Tables, RowHeader, Kind::Flag}, {"trkeep", Family::Tables, RowKeep, Kind::Flag},
    {"trql", Family::Tables, RowAlignLeft, Kind::Flag}, {"trqc", Family::Tables, RowAlignCenter, Kind::Flag},
    {"trqr", Family::Tables, RowAlignRight, Kind::Flag},
    {"clbrdrt", Family::Tables, CellBorderTop, Kind::Flag}, {"clbrdrl", Family::Tables, CellBorderLeft, Kind::Flag},
    {"clbrdrb", Family::Tables, CellBorderBottom, Kind::Flag},
    {"clbrdrr", Family::Tables, CellBorderRight, Kind::Flag},
    {"brdrs", Family::Tables, BorderSingle, Kind::Flag}, {"brdrdb", Family::Tables, BorderDouble, Kind::Flag},
    {"brdrdot", Family::Tables, BorderDotted, Kind::Flag}, {"brdrdash", Family::Tables, BorderDashed, Kind::Flag},
    {"brdrth", Family::Tables, BorderThick, Kind::Flag}, {"brdrnone", Family::Tables, BorderNone, Kind::Flag},
    {"brdrw", Family::Tables, BorderWidth, Kind::Value}, {"brdrcf", Family::Tables, BorderColour, Kind::Value},
    {"clcbpat", Family::Tables, CellShading, Kind::Value},
    {"clshdng", Family::Tables, CellShadingPercent, Kind::Value},
    {"clvertalt", Family::Tables, CellTop, Kind::Flag}, {"clvertalc", Family::Tables, CellMiddle, Kind::Flag},
    {"clvertalb", Family::Tables, CellBottom, Kind::Flag}, {"clmgf", Family::Tables, CellMergeFirst, Kind::Flag},
    {"clmrg", Family::Tables, CellMerged, Kind::Flag}, {"clvmgf", Family::Tables, CellVMergeFirst, Kind::Flag},
    {"clvmrg", Family::Tables, CellVMerged, Kind::Flag},
    // Kept as written with their row or cell: padding, spacing, preferred widths.
    {"trpaddl", Family::Tables, RowKeptWord, Kind::Value}, {"trpaddt", Family::Tables, RowKeptWord, Kind::Value},
    {"trpaddb", Family::Tables, RowKeptWord, Kind::Value}, {"trpaddr", Family::Tables, RowKeptWord, Kind::Value},
    {"trpaddfl", Family::Tables, RowKeptWord, Kind::Value}, {"trpaddft", Family::Tables, RowKeptWord, Kind::Value},
    {"trpaddfb", Family::Tables, RowKeptWord, Kind::Value}, {"trpaddfr", Family::Tables, RowKeptWord, Kind::Value},
    {"trspdl", Family::Tables, RowKeptWord, Kind::Value}, {"trspdt", Family::Tables, RowKeptWord, Kind::Value},
    {"trspdb", Family::Tables, RowKeptWord, Kind::Value}, {"trspdr", Family::Tables, RowKeptWord, Kind::Value},
    {"trspdfl", Family::Tables, RowKeptWord, Kind::Value}, {"trspdft", Family::Tables, RowKeptWord, Kind::Value},
    {"trspdfb", Family::Tables, RowKeptWord, Kind::Value}, {"trspdfr", Family::Tables, RowKeptWord, Kind::Value},
    {"trftsWidth", Family::Tables, RowKeptWord, Kind::Value}, {"trwWidth", Family::Tables, RowKeptWord, Kind::Value},
    {"trftsWidthB", Family::Tables, RowKeptWord, Kind::Value},
    {"trwWidthB", Family::Tables, RowKeptWord, Kind::Value},
    {"trftsWidthA", Family::Tables, RowKeptWord, Kind::Value},
    {"trwWidthA", Family::Tables, RowKeptWord, Kind::Value},
    {"trautofit", Family::Tables, RowKeptWord, Kind::Toggle}, {"tblind", Family::Tables, RowKeptWord, Kind::Value},
    {"tblindtype", Family::Tables, RowKeptWord, Kind::Value},
    {"clpadl", Family::Tables, CellKeptWord, Kind::Value}, {"clpadt", Family::Tables, CellKeptWord, Kind::Value},
    {"clpadb", Family::Tables, CellKeptWord, Kind::Value}, {"clpadr", Family::Tables, CellKeptWord, Kind::Value},
    {"clpadfl", Family::Tables, CellKeptWord, Kind::Value}, {"clpadft", Family::Tables, CellKeptWord, Kind::Value},
    {"clpadfb", Family::Tables, CellKeptWord, Kind::Value}, {"clpadfr", Family::Tables, CellKeptWord, Kind::Value},
    {"clftsWidth", Family::Tables, CellKeptWord, Kind::Value},
    {"clwWidth", Family::Tables, CellKeptWord, Kind::Value}, {"clNoWrap", Family::Tables, CellKeptWord, Kind::Flag},
};

void tablesWord(Parser &p, int id, const Token &t);

struct Paragraph;
enum class ParagraphMark : int;
// A finished paragraph goes where its table depth and mark say: into the
// cell of an open table, or the story itself.
void placeParagraph(Parser &p, Paragraph &&paragraph, ParagraphMark mark);
// The tables open in the current story close (a section starts).
void closeTables(Parser &p);
// Right after a table row, before any text of the next paragraph.
bool atTableEnd(Parser &p);

} // namespace rtf
