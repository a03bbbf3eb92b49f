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
};

void tablesWord(Parser &p, int id, const Token &t);

} // namespace rtf
