#include "ui/ControlPanel.h"

#include "engine/Formats.h"
#include "facade/Windows.h"
#include "model/Error.h"

namespace kvt {

namespace {

std::size_t checkedTab(int tab) {
    if (tab < 0 || tab >= FrmControlPanel::kTabCount)
        throw Error(err::InvalidArgument, "TabCP has no tab " + std::to_string(tab));
    return static_cast<std::size_t>(tab);
}

} // namespace

FrmControlPanel::FrmControlPanel(CPExcel &driver)
    : mDriver(&driver) {}

FrmControlPanel::~FrmControlPanel() = default;

ControlPanelWindow &FrmControlPanel::window() {
    if (!mWindow) {
        const auto &make = windowServices().controlPanel;
        if (!make)
            throw Error(err::Windows, "The windows module offers no control panel.");
        mWindow = make(*this);
    }
    return *mWindow;
}

void FrmControlPanel::setChkShowFirstTime(bool value) {
    mShowFirstTime = value;
    changed();
}

void FrmControlPanel::setlblHelp(std::string text) {
    mHelp = std::move(text);
    changed();
}

void FrmControlPanel::RefreshData() {
    if (mWindow)
        mWindow->RefreshData();
}

void FrmControlPanel::TranslateCombo() {
    if (mWindow)
        mWindow->TranslateCombo();
}

void FrmControlPanel::TranslateFix() {
    if (mWindow)
        mWindow->TranslateFix();
}

bool FrmControlPanel::TabEnabled(int tab) const {
    return mTabEnabled[checkedTab(tab)];
}

void FrmControlPanel::setTabEnabled(int tab, bool enabled) {
    mTabEnabled[checkedTab(tab)] = enabled;
    changed();
}

void FrmControlPanel::setCurrentTab(int tab) {
    mCurrentTab = static_cast<int>(checkedTab(tab));
    changed();
}

std::int32_t FrmControlPanel::NrOfDec(std::string_view rstrLegal) {
    return kvt::NrOfDec(rstrLegal);
}

std::string FrmControlPanel::LegalFormatFromNrDec(std::int32_t nrDec) {
    return kvt::LegalFormatFromNrDec(nrDec);
}

} // namespace kvt
