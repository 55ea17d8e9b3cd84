#pragma once

#include <string>

namespace quorrel {

// What the main frame needs to know of its list view: the rows as shown, and which row is
// selected. Column 0 holds the profile's name; texts are UTF-8. Rows carry texts only;
// beside them the view keeps where each row's profile stands in the list the rows were made
// from, so that a command reaches the profile of the selected row even when two profiles
// share a name.
class ListRows {
public:
    virtual ~ListRows() = default;
    virtual int rowCount() const = 0;
    // The first row in the selected state, searched from the top; -1 when none is.
    virtual int firstSelectedRow() const = 0;
    virtual std::string cellText(int row, int column) const = 0;
    // The position, in list order, of the profile that the row shows; -1 when unknown.
    virtual int listPosition(int row) const = 0;
};

}  // namespace quorrel
