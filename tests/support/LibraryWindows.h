#pragma once

#include "engine/RatePrompt.h"
#include "facade/KVTMain.h"
#include "facade/Windows.h"
#include "messages/Message.h"
#include "windows/FrmDev.h"
#include "windows/FrmISO.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kvt::test {

// Every window of the library, each opened as a host opens it: for pictures, benchmarks and the
// tests that walk all windows. The windows module's services must be registered.
struct WindowShot {
    const char *name;
    std::function<void(KVTMain &)> open;
    // What the user did in the window before the picture, if anything.
    std::function<void(QWidget &)> arrange = {};
};

inline std::vector<WindowShot> libraryWindows() {
    return {
        {"wizard",
         [](KVTMain &main) {
             main.FirstTime(true);
         }},
        {"welcome",
         [](KVTMain &main) {
             main.LoadBienvenue();
         }},
        {"about",
         [](KVTMain &main) {
             main.ShowAbout({"Version", "Settings"}, {"0.1.0", "~/.config/talvio/settings.db"});
         }},
        {"position",
         [](KVTMain &main) {
             main.getPosIns();
         }},
        {"folder",
         [](KVTMain &main) {
             main.FrmDriveDir().setCurrentPath("/usr/share");
             main.FrmDriveDir().Show();
         }},
        {"panel", [](KVTMain &main) { main.ShowCP(); },
         [](QWidget &panel) {
             // The rates tab (the panel keeps the tab it was left on), two rates entered:
             // 1 EUR = 1.0956 USD and 1 GBP = 1.2701 USD, each on white, its reverse on silver.
             panel.findChild<QTabWidget *>(QStringLiteral("TabCP"))->setCurrentIndex(1);
             auto *grid = panel.findChild<QTableWidget *>(QStringLiteral("FlexTaux"));
             auto *rate = panel.findChild<QLineEdit *>(QStringLiteral("txtTaux"));
             for (const auto &[col, text] : {std::pair{4, "1.0956"}, std::pair{1, "1.2701"}}) {
                 grid->setCurrentCell(0, col);
                 rate->setText(QString::fromLatin1(text));
                 emit rate->textEdited(rate->text());
             }
         }},
        {"panel-currency", [](KVTMain &main) { main.ShowCP(); },
         [](QWidget &panel) {
             panel.findChild<QTabWidget *>(QStringLiteral("TabCP"))->setCurrentIndex(2);
             auto *iso = panel.findChild<QComboBox *>(QStringLiteral("cboIso"));
             iso->setCurrentIndex(iso->findText(QStringLiteral("BEF")));
             emit iso->activated(iso->currentIndex());
         }},
        {"iso-editor",
         [](KVTMain &) {
             struct Unheard final : windows::IsoEditorHost {
                 void isoSaved(const std::string &) override {}
             } host;
             windows::FrmISO editor;
             editor.init(host);
             editor.prepare(windows::FrmISO::Add, {});
             editor.exec();
         }},
        {"new-currency",
         [](KVTMain &) {
             windows::FrmDev().GetISO();
         }},
        {"rate-question",
         [](KVTMain &) {
             windowServices().ratePrompt->ask(
                 {Translate(550) + "\r\n" + Translate(551), "EUR", "USD", "1", "Talvio"});
         }},
        {"message-box",
         [](KVTMain &) {
             windowServices().messageBoxes->show(
                 {"Talvio", Translate(552), BoxIcon::Information, BoxButtons::Ok});
         }},
        {"input-box",
         [](KVTMain &) {
             windowServices().messageBoxes->input({Translate(126), "Talvio", "F"});
         }},
        {"color",
         [](KVTMain &main) {
             main.ColorByDialog(0x0000FF);
         }},
        {"font",
         [](KVTMain &main) {
             bool cancel = false, bold = true, italic = false, strike = false, underline = false;
             std::string name = "DejaVu Sans";
             float size = 12;
             std::int32_t colour = 0x800000;
             main.FontByDialog(cancel, name, size, bold, italic, strike, underline, colour);
         }},
    };
}

} // namespace kvt::test
