#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

class QPushButton;

namespace kvt::windows {

// The insertion-position picker: where a converted amount goes relative to its source cell.
// Five toggle buttons laid out as a cross, named TglInsAuto0 to TglInsAuto4 after the position
// each stands for: 0 in the cell itself (the middle), 1 above, 2 below, 3 left, 4 right. The
// arrow keys move between them as they lie, Tab in reading order; Enter or Space chooses the
// focused one, Escape closes without a choice.
class FrmEmplacement final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPositions = 5;

    // position is the choice the picker keeps between showings: shown pressed, and changed by
    // a click.
    explicit FrmEmplacement(std::int16_t &position, QWidget *parent = nullptr);

    // Centres the picker, shows it modally and returns the position clicked, or the previous
    // one when it is closed without a click.
    std::int16_t GetPos();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void choose(int position);
    // The button the arrow key leads to from button `from`: the nearest one that way, or none.
    int neighbour(int from, int key) const;

    std::int16_t &mPosition;
    std::array<QPushButton *, kPositions> mButtons{};
    bool mReady = false;
};

} // namespace kvt::windows
