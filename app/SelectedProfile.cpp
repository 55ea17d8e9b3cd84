#include "app/SelectedProfile.h"

#include "listview/ProfileRows.h"
#include "platform/TextCodec.h"

namespace quorrel {

IpProfile* selectedProfile(ProfileList& list, const ListRows* rows) {
    if (rows == nullptr || rows->rowCount() == 0) {
        return nullptr;
    }
    const int row = rows->firstSelectedRow();
    if (row < 0) {
        return nullptr;
    }
    const std::string shownName = rows->cellText(row, kNameColumn);
    // The row's own profile: the one at its place in the list, while the rows show the list
    // as it is. A name alone would find the first of two profiles that share it.
    const int position = rows->listPosition(row);
    if (position >= 0) {
        IpProfile* atRow = list.at(static_cast<std::size_t>(position));
        if (atRow != nullptr && platform::readableText(atRow->name) == shownName) {
            return atRow;
        }
    }
    // Rows made from another list: the first profile of the row's name.
    return list.findByName(shownName);
}

}  // namespace quorrel
