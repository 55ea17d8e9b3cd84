#pragma once

namespace quorrel {

// The profile list's own state: its sort column and direction, and the rule that puts the
// selection back after the rows are rebuilt. The widget asks it; it decides.
class ListViewState {
public:
    int sortColumn() const { return sortColumn_; }
    bool sortAscending() const { return sortAscending_; }
    bool initialized() const { return initialized_; }

    // A click on a column header: the same column reverses the direction, another column
    // starts ascending. Returns the column to sort by.
    int sortHook(int column);

    // The re-sort of a refresh: flips the direction and calls the sort hook with the same
    // column, which flips it back. Column and direction stay as they were.
    int resort();

    // Step 1 of a refresh, before the rows are deleted: the row position to keep, from the
    // first selected row (-1 for none).
    int rememberPosition(int firstSelectedRow) const;

    // After the rows are rebuilt and sorted: the row to select, or -1 for none. The first
    // fill selects row 0; later fills keep the position, moving up one row when the list
    // became too short.
    int positionToSelect(int rememberedPosition, int rowCount) const;

    // The end of the first fill.
    void markInitialized() { initialized_ = true; }

private:
    int sortColumn_ = 0;
    bool sortAscending_ = true;
    bool initialized_ = false;
};

}  // namespace quorrel
