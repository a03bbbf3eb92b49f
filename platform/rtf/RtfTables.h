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
    CellMergeFirst, CellMerged, CellVMergeFirst, CellVMerged,
};

inline constexpr Keyword tablesKeywords[] = {
    {"trowd", Family::Tables, RowDefaults}, {"cellx", Family::Tables, CellEdge},
    {"cell", Family::Tables, CellEnd}, {"nestcell", Family::Tables, NestedCellEnd},
    {"row", Family::Tables, RowEnd}, {"nestrow", Family::Tables, NestedRowEnd},
    {"nesttableprops", Family::Tables, NestTableProps, Destination},
    {"nonesttables", Family::Tables, NoNestTables, Destination},
    {"trgaph", Family::Tables, RowGap}, {"trleft", Family::Tables, RowLeft}, {"trrh", Family::Tables, RowHeight},
    {"trhdr", Family::Tables, RowHeader}, {"trkeep", Family::Tables, RowKeep},
    {"trql", Family::Tables, RowAlignLeft}, {"trqc", Family::Tables, RowAlignCenter},
    {"trqr", Family::Tables, RowAlignRight},
    {"clbrdrt", Family::Tables, CellBorderTop}, {"clbrdrl", Family::Tables, CellBorderLeft},
    {"clbrdrb", Family::Tables, CellBorderBottom}, {"clbrdrr", Family::Tables, CellBorderRight},
    {"brdrs", Family::Tables, BorderSingle}, {"brdrdb", Family::Tables, BorderDouble},
    {"brdrdot", Family::Tables, BorderDotted}, {"brdrdash", Family::Tables, BorderDashed},
    {"brdrth", Family::Tables, BorderThick}, {"brdrnone", Family::Tables, BorderNone},
    {"brdrw", Family::Tables, BorderWidth}, {"brdrcf", Family::Tables, BorderColour},
    {"clcbpat", Family::Tables, CellShading}, {"clshdng", Family::Tables, CellShadingPercent},
    {"clvertalt", Family::Tables, CellTop}, {"clvertalc", Family::Tables, CellMiddle},
    {"clvertalb", Family::Tables, CellBottom}, {"clmgf", Family::Tables, CellMergeFirst},
    {"clmrg", Family::Tables, CellMerged}, {"clvmgf", Family::Tables, CellVMergeFirst},
    {"clvmrg", Family::Tables, CellVMerged},
};

void tablesWord(Parser &p, int id, const Token &t);

} // namespace rtf
