#pragma once

#include "RtfKeywords.h"

// Tables: row definitions (\trowd ... \cellx), cell and row ends, nesting.
namespace rtf {

class Parser;
struct Token;

namespace tableWords {
enum Id : int {
    RowDefaults, CellEdge, CellEnd, NestedCellEnd, RowEnd, NestedRowEnd, NestTableProps, NoNestTables,
    RowGap, RowLeft, RowHeight, RowHeader, RowKeep, RowAlignLeft, RowAlignCenter, RowAlignRight,
    CellBorderTop, CellBorderLeft, CellBorderBottom, CellBorderRight,
    BorderSingle, BorderDouble, BorderDotted, BorderDashed, BorderThick, BorderNone, BorderWidth, BorderColour,
    CellShading, CellShadingPercent, CellTop, CellMiddle, CellBottom,
    CellMergeFirst, CellMerged, CellVMergeFirst, CellVMerged, RowKeptWord, CellKeptWord,
};
} // namespace tableWords

inline constexpr Keyword tablesKeywords[] = {
    {"trowd", Family::Tables, tableWords::RowDefaults, Kind::Flag},
    {"cellx", Family::Tables, tableWords::CellEdge, Kind::Value},
    {"cell", Family::Tables, tableWords::CellEnd, Kind::Symbol},
    {"nestcell", Family::Tables, tableWords::NestedCellEnd, Kind::Symbol},
    {"row", Family::Tables, tableWords::RowEnd, Kind::Symbol},
    {"nestrow", Family::Tables, tableWords::NestedRowEnd, Kind::Symbol},
    {"nesttableprops", Family::Tables, tableWords::NestTableProps, Kind::Destination},
    {"nonesttables", Family::Tables, tableWords::NoNestTables, Kind::Destination},
    {"trgaph", Family::Tables, tableWords::RowGap, Kind::Value},
    {"trleft", Family::Tables, tableWords::RowLeft, Kind::Value},
    {"trrh", Family::Tables, tableWords::RowHeight, Kind::Value},
    {"trhdr", Family::Tables, tableWords::RowHeader, Kind::Flag},
    {"trkeep", Family::Tables, tableWords::RowKeep, Kind::Flag},
    {"trql", Family::Tables, tableWords::RowAlignLeft, Kind::Flag},
    {"trqc", Family::Tables, tableWords::RowAlignCenter, Kind::Flag},
    {"trqr", Family::Tables, tableWords::RowAlignRight, Kind::Flag},
    {"clbrdrt", Family::Tables, tableWords::CellBorderTop, Kind::Flag},
    {"clbrdrl", Family::Tables, tableWords::CellBorderLeft, Kind::Flag},
    {"clbrdrb", Family::Tables, tableWords::CellBorderBottom, Kind::Flag},
    {"clbrdrr", Family::Tables, tableWords::CellBorderRight, Kind::Flag},
    {"brdrs", Family::Tables, tableWords::BorderSingle, Kind::Flag},
    {"brdrdb", Family::Tables, tableWords::BorderDouble, Kind::Flag},
    {"brdrdot", Family::Tables, tableWords::BorderDotted, Kind::Flag},
    {"brdrdash", Family::Tables, tableWords::BorderDashed, Kind::Flag},
    {"brdrth", Family::Tables, tableWords::BorderThick, Kind::Flag},
    {"brdrnone", Family::Tables, tableWords::BorderNone, Kind::Flag},
    {"brdrw", Family::Tables, tableWords::BorderWidth, Kind::Value},
    {"brdrcf", Family::Tables, tableWords::BorderColour, Kind::Value},
    {"clcbpat", Family::Tables, tableWords::CellShading, Kind::Value},
    {"clshdng", Family::Tables, tableWords::CellShadingPercent, Kind::Value},
    {"clvertalt", Family::Tables, tableWords::CellTop, Kind::Flag},
    {"clvertalc", Family::Tables, tableWords::CellMiddle, Kind::Flag},
    {"clvertalb", Family::Tables, tableWords::CellBottom, Kind::Flag},
    {"clmgf", Family::Tables, tableWords::CellMergeFirst, Kind::Flag},
    {"clmrg", Family::Tables, tableWords::CellMerged, Kind::Flag},
    {"clvmgf", Family::Tables, tableWords::CellVMergeFirst, Kind::Flag},
    {"clvmrg", Family::Tables, tableWords::CellVMerged, Kind::Flag},
    // Kept as written with their row or cell: padding, spacing, preferred widths.
    {"trpaddl", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trpaddt", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trpaddb", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trpaddr", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trpaddfl", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trpaddft", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trpaddfb", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trpaddfr", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trspdl", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trspdt", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trspdb", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trspdr", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trspdfl", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trspdft", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trspdfb", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trspdfr", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trftsWidth", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trwWidth", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trftsWidthB", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trwWidthB", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trftsWidthA", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trwWidthA", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"trautofit", Family::Tables, tableWords::RowKeptWord, Kind::Toggle},
    {"tblind", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"tblindtype", Family::Tables, tableWords::RowKeptWord, Kind::Value},
    {"clpadl", Family::Tables, tableWords::CellKeptWord, Kind::Value},
    {"clpadt", Family::Tables, tableWords::CellKeptWord, Kind::Value},
    {"clpadb", Family::Tables, tableWords::CellKeptWord, Kind::Value},
    {"clpadr", Family::Tables, tableWords::CellKeptWord, Kind::Value},
    {"clpadfl", Family::Tables, tableWords::CellKeptWord, Kind::Value},
    {"clpadft", Family::Tables, tableWords::CellKeptWord, Kind::Value},
    {"clpadfb", Family::Tables, tableWords::CellKeptWord, Kind::Value},
    {"clpadfr", Family::Tables, tableWords::CellKeptWord, Kind::Value},
    {"clftsWidth", Family::Tables, tableWords::CellKeptWord, Kind::Value},
    {"clwWidth", Family::Tables, tableWords::CellKeptWord, Kind::Value},
    {"clNoWrap", Family::Tables, tableWords::CellKeptWord, Kind::Flag},
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
