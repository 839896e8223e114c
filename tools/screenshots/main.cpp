// Renders every window of the library offscreen, in the languages asked, into PNG files:
//   talvio-screenshots OUTPUT_FOLDER MESSAGE_FILE LANGUAGE...   (LANGUAGE: 0 DE .. 5 NL)
// Each window is opened as a host opens it and captured once it is shown.
#include "facade/KVTMain.h"
#include "facade/Windows.h"
#include "messages/MessageBoxes.h"
#include "model/DG.h"
#include "model/Error.h"
#include "model/MemorySettingsBackend.h"
#include "model/Registry.h"
#include "support/LibraryWindows.h"
#include "support/ShownWindow.h"
#include "windows/Application.h"
#include "windows/Services.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <memory>
#include <string>

namespace {

const char *const kLanguageCodes[] = {"de", "en", "es", "fr", "it", "nl"};

// Each window is closed once pictured, without saving what was done in it for the picture: a
// question about unsaved changes is answered no.
class DiscardingBoxes final : public kvt::MessageBoxes {
public:
    kvt::BoxAnswer show(const kvt::BoxRequest &request) override {
        const bool asksToSave = request.buttons == kvt::BoxButtons::YesNo
                                || request.buttons == kvt::BoxButtons::YesNoCancel;
        return asksToSave ? kvt::BoxAnswer::No : kvt::BoxAnswer::Ok;
    }
};

} // namespace

int main(int argc, char **argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER MESSAGE_FILE LANGUAGE...\n", argv[0]);
        return 2;
    }
    try {
        // The built-in currencies and default settings, whatever the user's store holds.
        kvt::setSharedRegistry(
            std::make_shared<kvt::Registry>(std::make_shared<kvt::MemorySettingsBackend>()));
        kvt::windows::ensureApplication();
        kvt::registerWindowServices(kvt::windows::allServices());
        kvt::setMessageBoxes(std::make_shared<DiscardingBoxes>());
        kvt::KVTMain main;
        main.init(argv[2]);
        const QDir folder(QString::fromLocal8Bit(argv[1]));
        int failures = 0;
        for (int i = 3; i < argc; ++i) {
            const int language = std::stoi(argv[i]);
            // Kept in the store too: a window closed without saving reads the settings again.
            kvt::sharedDG()->setLangue(static_cast<kvt::Langue>(language));
            kvt::sharedDG()->SaveReg();
            // As the wizard does when the user picks a language: the kept windows follow.
            main.CPTranslate();
            for (const kvt::test::WindowShot &shot : kvt::test::libraryWindows()) {
                const QString file = folder.filePath(
                    QStringLiteral("%1-%2.png").arg(shot.name, kLanguageCodes[language]));
                const double shownAfter = kvt::test::actWhenShown([&] { shot.open(main); },
                                                                  [&](QWidget &window) {
                                                                      if (shot.arrange)
                                                                          shot.arrange(window);
                                                                      window.grab().save(file);
                                                                  });
                if (shownAfter < 0) {
                    std::fprintf(stderr, "%s: no window came\n", qPrintable(file));
                    ++failures;
                } else {
                    std::printf("%s\n", qPrintable(file));
                }
            }
        }
        return failures == 0 ? 0 : 1;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "talvio-screenshots: %s\n", error.what());
        return 1;
    }
}
