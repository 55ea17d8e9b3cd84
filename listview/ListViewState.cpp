#include "listview/ListViewState.h"

namespace quorrel {

int ListViewState::sortHook(int column) {
    if (column == sortColumn_) {
        sortAscending_ = !sortAscending_;
    } else {
        sortColumn_ = column;
        sortAscending_ = true;
    }
    return sortColumn_;
}

int ListViewState::resort() {
    sortAscending_ = !sortAscending_;
    return sortHook(sortColumn_);
}

int ListViewState::rememberPosition(int firstSelectedRow) const {
    if (!initialized_) {
        return 0;
    }
    return firstSelectedRow < 0 ? 0 : firstSelectedRow;
}

int ListViewState::positionToSelect(int rememberedPosition, int rowCount) const {
    int position = rememberedPosition;
    if (initialized_ && rowCount < position + 1) {
        --position;
    }
    if (position < 0 || position >= rowCount) {
        return -1;
    }
    return position;
}

}  // namespace quorrel
