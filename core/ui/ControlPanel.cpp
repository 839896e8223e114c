#include "ui/ControlPanel.h"

#include "engine/Formats.h"
#include "model/Error.h"

namespace kvt {

namespace {

std::size_t checkedTab(int tab) {
    if (tab < 0 || tab >= FrmControlPanel::kTabCount)
        throw Error(err::InvalidArgument, "TabCP has no tab " + std::to_string(tab));
    return static_cast<std::size_t>(tab);
}

} // namespace

bool FrmControlPanel::TabEnabled(int tab) const {
    return mTabEnabled[checkedTab(tab)];
}

void FrmControlPanel::setTabEnabled(int tab, bool enabled) {
    mTabEnabled[checkedTab(tab)] = enabled;
}

void FrmControlPanel::setCurrentTab(int tab) {
    mCurrentTab = static_cast<int>(checkedTab(tab));
}

std::int32_t FrmControlPanel::NrOfDec(std::string_view rstrLegal) {
    return kvt::NrOfDec(rstrLegal);
}

std::string FrmControlPanel::LegalFormatFromNrDec(std::int32_t nrDec) {
    return kvt::LegalFormatFromNrDec(nrDec);
}

} // namespace kvt
