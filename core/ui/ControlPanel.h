#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kvt {

class CPExcel;

// The control panel as its driver owns it. Until the panel is first shown it is only its state:
// no window toolkit object exists, so a host without a display can use everything else.
class FrmControlPanel {
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

    // Decimals of a legal pattern, and the legal pattern of a number of decimals: what the
    // panel uses on its currency page and what the facade offers to hosts.
    static std::int32_t NrOfDec(std::string_view rstrLegal);
    static std::string LegalFormatFromNrDec(std::int32_t nrDec);

private:
    CPExcel *mDriver;
    bool mShowFirstTime = false;
};

} // namespace kvt
