#pragma once

// The columns of the entries table, shared by the table and the delegate that paints its cells.
namespace TableColumns {

enum Column { ColView, ColNumber, ColName, ColX1, ColY1, ColX2, ColY2, ColSubs, ColLZ, ColBridge, ColRoad };

inline constexpr int kColumnCount = 11;
inline constexpr int kDefaultRowHeight = 22;

} // namespace TableColumns
