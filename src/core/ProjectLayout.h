#pragma once

namespace velkaro {

// Where a project keeps what. Counts, indices and array sizes everywhere
// derive from these; one context row more is a change of RowCount here and
// of the rows in the window's layout table.
struct ProjectLayout
{
    // Slot 0 holds the CD root, slot 1 the object that opens by itself, then
    // one document per context row, and the icon last.
    static constexpr int CdRootSlot = 0;
    static constexpr int TargetSlot = 1;
    static constexpr int FirstRowSlot = 2;
    static constexpr int RowCount = 3;
    static constexpr int IconSlot = FirstRowSlot + RowCount;
    static constexpr int SlotCount = IconSlot + 1;

    static constexpr int RowSlot(int row) { return FirstRowSlot + row; }
    static constexpr bool IsRowSlot(int n) { return n >= FirstRowSlot && n < IconSlot; }
    static constexpr int RowOfSlot(int n) { return n - FirstRowSlot; }
};

} // namespace velkaro
