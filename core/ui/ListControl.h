#pragma once

#include "kvt_export.h"

#include <string>
#include <string_view>

namespace kvt {

// A list or combo of the library's windows as the code that fills it sees it: entries of one or
// two columns (a code and its name), a current entry and, in a list, selected entries. The
// windows implement it with widgets; tests of the fillers, with plain objects.
class KVT_EXPORT ListControl {
public:
    virtual ~ListControl() = default;
    virtual void Clear() = 0;
    virtual void AddItem(const std::string &code, const std::string &name = {}) = 0;
    virtual int ListCount() const = 0;
    // The text of an entry's column (0 the code, 1 the name); empty out of range.
    virtual std::string List(int index, int column = 0) const = 0;
    // The current entry; -1 when none.
    virtual int ListIndex() const = 0;
    virtual void setListIndex(int index) = 0;
    virtual bool Selected(int index) const = 0;
    virtual void setSelected(int index, bool selected) = 0;
};

// The index of the first entry, from the top, whose first column equals text exactly
// (case-sensitive); 0 when none does, so that a list always shows something.
KVT_EXPORT int listLookup(const ListControl &list, std::string_view text);

} // namespace kvt
