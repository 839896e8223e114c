#pragma once

#include "kvt_export.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kvt {

class CPExcel;

// The control panel's window as the windows module makes it for a FrmControlPanel. The panel
// keeps its state (tabs, help line, first-time box) and tells the window each change; the
// window tells the panel what the user changes.
class KVT_EXPORT ControlPanelWindow {
public:
    virtual ~ControlPanelWindow() = default;
    virtual bool Visible() const = 0;
    // Shows the window modally until it is hidden.
    virtual void ShowModal() = 0;
    virtual void RefreshData() = 0;
    virtual void TranslateCombo() = 0;
    virtual void TranslateFix() = 0;
    // The panel's state changed: tabs, current tab, help line, first-time box.
    virtual void stateChanged() = 0;
    // Refills the rate grid and shows its selected rate again.
    virtual void LoadClickTableTaux() = 0;
    // Makes alias the default alias of currency as the user would: select both, apply.
    virtual void AliasDefault(const std::string &currency, const std::string &alias) = 0;
};

// The control panel as its driver owns it. Until the panel is first shown it is only its state:
// no window toolkit object exists, so a host without a display can use everything else. Once
// its window exists, every change of that state shows in it.
class KVT_EXPORT FrmControlPanel {
public:
    explicit FrmControlPanel(CPExcel &driver);
    ~FrmControlPanel();
    FrmControlPanel(const FrmControlPanel &) = delete;
    FrmControlPanel &operator=(const FrmControlPanel &) = delete;

    // The driver that fills the panel's lists and saves its settings.
    CPExcel &driver() const { return *mDriver; }

    // The window, made by the windows module on first use (which needs a display); null
    // before.
    ControlPanelWindow &window();
    ControlPanelWindow *windowIfMade() const { return mWindow.get(); }

    bool Visible() const { return mWindow && mWindow->Visible(); }

    // The "show the first-time wizard at start" check box.
    bool ChkShowFirstTime() const { return mShowFirstTime; }
    void setChkShowFirstTime(bool value);

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
    void setlblHelp(std::string text);
    // Reloads every control from the general settings, the driver and the engine. Before the
    // window exists there is no control to reload: the state above is all the panel holds.
    void RefreshData();
    void TranslateCombo();
    void TranslateFix();

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
    std::unique_ptr<ControlPanelWindow> mWindow;

    void changed() {
        if (mWindow)
            mWindow->stateChanged();
    }
};

} // namespace kvt
