#include "ListingPorts.h"

namespace odz {

void TListingFileList::UpdateFileList() {
    FListing.UpdateFileList();
    FSelected.clear();
}

void TListingFileList::Select(const QStringList& names) {
    for (int i = 0; i < Count(); ++i) {
        if (names.contains(Item(i).caption)) FSelected.insert(i);
    }
}

}  // namespace odz
