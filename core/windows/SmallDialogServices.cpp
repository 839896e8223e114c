// The insertion-position picker, the folder chooser and the about box as the library asks for
// them.
#include "windows/Application.h"
#include "windows/FrmDriveDir.h"
#include "windows/FrmEmplacement.h"
#include "windows/Services.h"
#include "windows/frmAbout.h"

#include <QPointer>

namespace kvt::windows {

namespace {

// The picker's choice lives as long as the library; the picker window only while it is shown.
std::int16_t gPosition = 0;

// The about box is one window for the library's life, created on first use and hidden, not
// destroyed, when closed, so that AboutKVT shows it again as ShowAbout left it. Like the widget
// application, it is never deleted.
QPointer<frmAbout> gAbout;

frmAbout &aboutBox() {
    ensureApplication();
    if (!gAbout)
        gAbout = new frmAbout;
    return *gAbout;
}

} // namespace

void addSmallDialogServices(WindowServices &services) {
    services.getPos = [] {
        ensureApplication();
        FrmEmplacement picker(gPosition);
        return picker.GetPos();
    };
    services.showDriveDir = [](FolderChoice &choice) {
        ensureApplication();
        FrmDriveDir chooser(choice);
        chooser.Show();
    };
    services.showAbout = [](const std::vector<std::string> &names,
                            const std::vector<std::string> &values) {
        frmAbout &box = aboutBox();
        box.setTexts();
        box.LoadFlexAbout(names, values);
        box.Show();
    };
    services.aboutKVT = [] {
        aboutBox().Show();
    };
}

bool aboutVisible() {
    return gAbout && gAbout->isVisible();
}

} // namespace kvt::windows
