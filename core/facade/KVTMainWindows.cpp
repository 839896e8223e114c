// The facade's window, clipboard, colour and font operations: each forwards to the windows
// module, which the first of them loads.
#include "facade/KVTMain.h"
#include "messages/Message.h"

#include <algorithm>

namespace kvt {

namespace {

// Runs a traced window operation whose failure is told to the user: an error line under the
// operation's function, then a critical box with the description.
template<class Work>
void tracedInBox(KVTBug &trace, const char *label, Work &&work) {
    std::int16_t handle = 0;
    try {
        handle = trace.BeginFct(label);
        work();
        trace.EndFct(handle);
    } catch (const std::exception &failure) {
        try {
            trace.Error(handle, failure.what());
            trace.EndFct(handle);
        } catch (...) {
            // The box below still tells the user.
        }
        sharedMessage()->Msgbox(failure.what(), true);
    }
}

} // namespace

void KVTMain::FirstTime(bool vblnForceLoad) {
    windowServices().firstTime(*this, vblnForceLoad);
}

void KVTMain::LoadBienvenue() {
    if (!driver().ShowWelcomDialog())
        return;
    windowServices().loadBienvenue(
        {kvt::Translate(430), kvt::Translate(431), kvt::Translate(432), kvt::Translate(433)});
}

void KVTMain::UnloadBienvenue() {
    // A welcome screen that was never shown has nothing to remove.
    if (windowsLoaded())
        windowServices().unloadBienvenue();
}

void KVTMain::AboutKVT() {
    windowServices().aboutKVT();
}

void KVTMain::ShowAbout(const std::vector<std::string> &colParam,
                        const std::vector<std::string> &colParamValues) {
    tracedInBox(*mTrace, "ShowAbout",
                [&] { windowServices().showAbout(colParam, colParamValues); });
}

bool KVTMain::NoWindowsVisible() {
    if (mColVBAWindows
        && std::any_of(mColVBAWindows->begin(), mColVBAWindows->end(),
                       [](const auto &window) { return window && window->Visible(); }))
        return false;
    if (mDriver && mDriver->frmCP().Visible())
        return false;
    if (!windowsLoaded())
        return true;
    const auto &visible = windowServices().visible;
    return !visible(LibraryWindow::About) && !visible(LibraryWindow::AskRate)
           && !visible(LibraryWindow::Welcome) && !visible(LibraryWindow::FirstTime);
}

InsAutoTypePos KVTMain::getPosIns() {
    return static_cast<InsAutoTypePos>(windowServices().getPos());
}

FrmDriveDir &KVTMain::FrmDriveDir() {
    if (!mFrmDriveDir)
        mFrmDriveDir = std::make_unique<class FrmDriveDir>();
    return *mFrmDriveDir;
}

void KVTMain::setShowFirstTime(bool value) {
    driver().frmCP().setChkShowFirstTime(value);
}

void KVTMain::CPTranslate() {
    // The panel's lists and labels follow the language once the panel is a window; its light
    // state holds no text.
    driver().frmCP().TranslateCombo();
    driver().frmCP().TranslateFix();
}

bool KVTMain::ShowCP() {
    bool saved = false;
    tracedInBox(*mTrace, "ShowCP", [&] { saved = driver().ShowCP(); });
    return saved;
}

void KVTMain::setAliasDefault(const std::string &rstrCur, const std::string &rstrAlias) {
    driver().frmCP().window().AliasDefault(rstrCur, rstrAlias);
}

void KVTMain::LoadClickTableTaux() {
    // Before the panel is a window there is no grid to refill.
    if (ControlPanelWindow *window = driver().frmCP().windowIfMade())
        window->LoadClickTableTaux();
}

void KVTMain::ClipboardClear() {
    windowServices().clipboardClear();
}

void KVTMain::ClipboardSetData(const Picture &picture) {
    windowServices().clipboardSetData(picture);
}

void KVTMain::ClipboardSave() {
    windowServices().clipboardSave(mClipboard);
}

void KVTMain::ClipboardRestore() {
    windowServices().clipboardRestore(mClipboard);
}

Picture KVTMain::ClipboardGetData() {
    return windowServices().clipboardGetData();
}

std::int32_t KVTMain::ColorByDialog(std::int32_t rColorDef) {
    // A dialog that cannot open counts as cancelled.
    try {
        return windowServices().colorByDialog(rColorDef).value_or(rColorDef);
    } catch (const std::exception &) {
        return rColorDef;
    }
}

void KVTMain::FontByDialog(bool &Cancel, std::string &Name, float &size, bool &bold, bool &italic,
                           bool &strike, bool &underline, std::int32_t &color) {
    FontChoice choice{Name, size, bold, italic, strike, underline, color};
    bool confirmed = false;
    try {
        confirmed = windowServices().fontByDialog(choice);
    } catch (const std::exception &) {
        // A dialog that cannot open counts as cancelled.
    }
    if (!confirmed) {
        Cancel = true;
        return;
    }
    bold = choice.bold;
    italic = choice.italic;
    Name = choice.name;
    size = choice.size;
    strike = choice.strike;
    underline = choice.underline;
    color = choice.color;
}

} // namespace kvt
