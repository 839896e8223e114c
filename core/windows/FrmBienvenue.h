#pragma once

#include <QFrame>
#include <array>
#include <string>

class QLabel;

namespace kvt::windows {

// The welcome screen a host shows while it starts: the product's picture and four lines
// (title, version, maker, year). It never waits for the user and takes no focus; the host
// removes it when it is ready.
class FrmBienvenue final : public QFrame {
    Q_OBJECT
public:
    // Shows the welcome screen with the texts, painted before this returns, and returns
    // without waiting; a screen already shown takes the new texts.
    static void load(const std::array<std::string, 4> &texts);
    // Removes the welcome screen, if one is shown.
    static void unload();
    // The welcome screen shown now; null when none is.
    static FrmBienvenue *shown();

    FrmBienvenue();

private:
    void setTexts(const std::array<std::string, 4> &texts);
    void paintNow();

    std::array<QLabel *, 4> mLines;
};

} // namespace kvt::windows
