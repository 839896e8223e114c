#pragma once

#include "kvt_export.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kvt {

class CPExcel;

// The control panel as its driver owns it. Until the panel is first shown it is only its state:
// no window toolkit object exists, so a host without a display can use everything else.
class KVT_EXPORT FrmControlPanel {
public:
    explicit FrmControlPanel(CPExcel &driver)
        : mDriver(&driver) {}

    // The driver that fills the panel's lists and saves its settings.
    CPExcel &driver() const { return *mDriver; }

    // Never shown yet, so never visible.
    bool Visible() const { return false; }

    // The "show the first-time wizard at start" check box.
    bool ChkShowFirstTime() const { return mShowFirstTime; }
    void setChkShowFirstTime(bool value) { mShowFirstTime = value; }

    // The tab control TabCP: 0 the currency pair and rounding, 1 the rate grid FlexTaux, 2 the
    // currencies and their aliases. Out-of-range tabs are refused with kvt::Error.
    static constexpr int kTabCount = 3;
    bool TabEnabled(int tab) const;
    void setTabEnabled(int tab, bool enabled);
    int CurrentTab() const { return mCurrentTab; }
    void setCurrentTab(int tab);
    bool FlexTauxVisible() const { return mFlexTauxVisible; }
    void setFlexTauxVisible(bool visible) { mFlexTauxVisible = visible; }
    // The help line under the tabs.
    const std::string &lblHelp() const { return mHelp; }
    void setlblHelp(std::string text) { mHelp = std::move(text); }
    // Reloads every control from the general settings, the driver and the engine. Before the
    // window exists there is no control to reload: the state above is all the panel holds.
    void RefreshData() {}

    // Decimals of a legal pattern, and the legal pattern of a number of decimals: what the
    // panel uses on its currency page and what the facade offers to hosts.
    static std::int32_t NrOfDec(std::string_view rstrLegal);
    static std::string LegalFormatFromNrDec(std::int32_t nrDec);

private:
    CPExcel *mDriver;
    bool mShowFirstTime = false;
    std::array<bool, kTabCount> mTabEnabled{true, true, true};
    int mCurrentTab = 0;
    bool mFlexTauxVisible = false; // shown only while the rate tab is the current one
    std::string mHelp;
};

} // namespace kvt
