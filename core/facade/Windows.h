#pragma once

#include "kvt_export.h"
#include "messages/MessageBoxes.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kvt {

class ControlPanelWindow;
class FrmControlPanel;
class KVTMain;
class RatePrompt;

// The library's windows live in the windows module (Qt Widgets), loaded on the first call that
// needs a window; until then no window object exists, so a host without a display uses every
// other operation. A window that needs a display fails, when none can be opened, with a
// kvt::Error(err::Windows) that says how to get one.

// The library's own windows that NoWindowsVisible asks about.
enum class LibraryWindow { About, AskRate, Welcome, FirstTime };

// A picture on the clipboard, encoded: PNG for a bitmap, BMP for a device-independent bitmap,
// WMF for a metafile.
enum class PictureFormat { Bitmap, Dib, Metafile };
struct Picture {
    PictureFormat format = PictureFormat::Bitmap;
    std::string bytes;
};

// A facade's saved clipboard: the seven formats in their fixed order, each with its presence
// flag and saved bytes, plus every other format that was on the clipboard when it was saved,
// so that a restore gives the user's whole clipboard back.
struct ClipboardStore {
    static constexpr std::size_t kFormats = 7;
    std::array<bool, kFormats> present{};
    std::array<std::string, kFormats> saved;
    std::vector<std::pair<std::string, std::string>> others; // MIME type, bytes
};

// FontByDialog's values, passed in and written back.
struct FontChoice {
    std::string name;
    float size = 0;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool underline = false;
    std::int32_t color = 0; // red in the lowest byte
};

// The folder chooser's state, kept by its facade between showings.
struct FolderChoice {
    std::string chosenPath;  // empty after a cancel
    std::string currentPath; // where the lists stand
};

// What the windows module provides.
struct WindowServices {
    // The first-time wizard's GO for the facade: shows it when "FirstTime" is exactly "ON"
    // or when forced.
    std::function<void(KVTMain &, bool force)> firstTime;
    // The welcome screen: shown without waiting, with its four texts; then removed.
    std::function<void(const std::array<std::string, 4> &texts)> loadBienvenue;
    std::function<void()> unloadBienvenue;
    // The about box, modal: its title, button and label texts, and the parameter table.
    std::function<void(const std::vector<std::string> &names,
                       const std::vector<std::string> &values)>
        showAbout;
    // The about box as it was last shown.
    std::function<void()> aboutKVT;
    // The control panel's window for a panel, made hidden.
    std::function<std::unique_ptr<ControlPanelWindow>(FrmControlPanel &)> controlPanel;
    // The insertion-position picker: the position chosen, or the previous one when closed.
    std::function<std::int16_t()> getPos;
    // The folder chooser, modal, starting from and updating choice.
    std::function<void(FolderChoice &choice)> showDriveDir;
    std::function<bool(LibraryWindow)> visible;

    std::function<void()> clipboardClear;
    std::function<void(const Picture &)> clipboardSetData;
    std::function<Picture()> clipboardGetData;
    std::function<void(ClipboardStore &)> clipboardSave;
    std::function<void(ClipboardStore &)> clipboardRestore;

    // The colour dialog opened on colorDef: the colour chosen, nullopt when cancelled.
    std::function<std::optional<std::int32_t>(std::int32_t colorDef)> colorByDialog;
    // The font dialog preset from choice; true, with choice updated, when the user confirms.
    std::function<bool(FontChoice &)> fontByDialog;

    // Throws kvt::Error(err::Windows), saying how to get a display, when no window can open.
    std::function<void()> requireDisplay;
    // Why no window can open, or empty when one can; asks, opens nothing.
    std::function<std::string()> displayProblem;

    // Message boxes, the input box and the rate question in windows.
    std::shared_ptr<MessageBoxes> messageBoxes;
    std::shared_ptr<RatePrompt> ratePrompt;
};

// The windows module's entry point calls this.
KVT_EXPORT void registerWindowServices(WindowServices services);

// The windows module's services, loading the module on the first call. A module that is
// missing or does not register throws kvt::Error(err::Windows) naming the file and the reason.
KVT_EXPORT const WindowServices &windowServices();

// Whether the windows module is loaded; a window of an unloaded module was never opened.
KVT_EXPORT bool windowsLoaded();

// Loads the windows module and checks that a window can open: a host that is about to show
// one tells its user early and clearly when none can.
KVT_EXPORT void requireWindows();

// Why no window can open in this process (the module cannot load, no display), or empty when
// one can. Loads the module but opens no window.
KVT_EXPORT std::string windowProblem();

// Makes message boxes, input boxes and the rate question windows while it lives, and puts the
// previous ones back when it ends: what a host does around the windows it shows. Loads the
// module.
class KVT_EXPORT WindowDialogs {
public:
    WindowDialogs();
    ~WindowDialogs();
    WindowDialogs(const WindowDialogs &) = delete;
    WindowDialogs &operator=(const WindowDialogs &) = delete;

private:
    std::shared_ptr<MessageBoxes> mPreviousBoxes;
    std::shared_ptr<RatePrompt> mPreviousPrompt;
};

} // namespace kvt
