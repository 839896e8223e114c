#include "ui/ListControl.h"

namespace kvt {

int listLookup(const ListControl &list, std::string_view text) {
    const int count = list.ListCount();
    for (int index = 0; index < count; ++index) {
        if (list.List(index) == text)
            return index;
    }
    return 0;
}

} // namespace kvt
