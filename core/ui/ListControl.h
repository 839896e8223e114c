#pragma once

#include "kvt_export.h"

#include <string>
#include <string_view>
#include <vector>

namespace kvt {

// How a combo takes its text: typed freely or picked among its entries (the values are the
// product's Style property).
enum class ListStyle { DropDownCombo = 0, DropDownList = 2 };

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

    // Columns shown, 1 (the codes) or 2; widths of the leading columns in points, the last
    // taking the rest; the least width of a combo's open list in points (0: the combo's own).
    virtual void setColumnCount(int count) = 0;
    virtual void setColumnWidths(std::vector<double> points) = 0;
    virtual void setListWidth(double points) = 0;
    virtual ListStyle Style() const = 0;
    virtual void setStyle(ListStyle style) = 0;
    virtual bool Enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    // What the control shows: the current entry's code, or the text typed into a free combo.
    virtual std::string Text() const = 0;
    // Types text into a free combo; otherwise makes current the first entry whose code is text
    // exactly, and leaves the control as it was when none is.
    virtual void setText(const std::string &text) = 0;
};

// The index of the first entry, from the top, whose first column equals text exactly
// (case-sensitive); 0 when none does, so that a list always shows something.
KVT_EXPORT int listLookup(const ListControl &list, std::string_view text);

} // namespace kvt
