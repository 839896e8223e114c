#include "windows/FrmEmplacement.h"

#include "messages/Message.h"
#include "windows/WindowLayout.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <algorithm>
#include <cstdlib>

namespace kvt::windows {

namespace {

constexpr std::int32_t kTitle = 108;
constexpr std::int32_t kFirstToolTip = 112; // one per position, in position order

struct ButtonPlace {
    int row;
    int column;
    const char16_t *glyph;
};

// Where each position's button sits in the cross, and what it shows: the cell itself in the
// middle, the four neighbours around it.
constexpr ButtonPlace kPlaces[FrmEmplacement::kPositions] = {
    {1, 1, u"\u25A0"}, // in place
    {0, 1, u"\u2191"}, // above
    {2, 1, u"\u2193"}, // below
    {1, 0, u"\u2190"}, // left
    {1, 2, u"\u2192"}, // right
};

// Tab follows reading order: above, left, in place, right, below.
constexpr std::size_t kTabOrder[FrmEmplacement::kPositions] = {1, 3, 0, 4, 2};

} // namespace

FrmEmplacement::FrmEmplacement(std::int16_t &position, QWidget *parent)
    : QDialog(parent)
    , mPosition(position) {
    setObjectName(QStringLiteral("FrmEmplacement"));
    setWindowTitle(QString::fromStdString(Translate(kTitle)));
    auto *layout = new QGridLayout(this);
    const int side = pointsToPixels(*this, 24);
    for (int i = 0; i < kPositions; ++i) {
        auto *button = new QPushButton(QString::fromUtf16(kPlaces[i].glyph), this);
        button->setObjectName(QStringLiteral("TglInsAuto%1").arg(i));
        button->setCheckable(true);
        button->setFixedSize(side, side);
        const QString tip = QString::fromStdString(Translate(kFirstToolTip + i));
        button->setToolTip(tip);
        button->setAccessibleName(tip);
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, [this, i] { choose(i); });
        layout->addWidget(button, kPlaces[i].row, kPlaces[i].column);
        mButtons[static_cast<std::size_t>(i)] = button;
    }
    for (std::size_t i = 1; i < kPositions; ++i)
        setTabOrder(mButtons[kTabOrder[i - 1]], mButtons[kTabOrder[i]]);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::int16_t FrmEmplacement::GetPos() {
    for (int i = 0; i < kPositions; ++i)
        mButtons[static_cast<std::size_t>(i)]->setChecked(i == mPosition);
    if (mPosition >= 0 && mPosition < kPositions)
        mButtons[static_cast<std::size_t>(mPosition)]->setFocus();
    adjustSize();
    centreOnScreen(*this);
    mReady = true;
    exec();
    mReady = false;
    return mPosition;
}

void FrmEmplacement::choose(int position) {
    if (!mReady)
        return;
    mPosition = static_cast<std::int16_t>(position);
    for (int i = 0; i < kPositions; ++i)
        mButtons[static_cast<std::size_t>(i)]->setChecked(i == position);
    accept();
}

int FrmEmplacement::neighbour(int from, int key) const {
    const ButtonPlace &start = kPlaces[from];
    const int down = key == Qt::Key_Down ? 1 : key == Qt::Key_Up ? -1 : 0;
    const int right = key == Qt::Key_Right ? 1 : key == Qt::Key_Left ? -1 : 0;
    int best = -1;
    int bestDistance = 0;
    for (int i = 0; i < kPositions; ++i) {
        const int rows = kPlaces[i].row - start.row;
        const int columns = kPlaces[i].column - start.column;
        // Ahead along the key's direction first, then off to the side.
        const int ahead = down != 0 ? rows * down : columns * right;
        const int aside = std::abs(down != 0 ? columns : rows);
        const int distance = ahead * kPositions + aside;
        if (ahead > 0 && (best < 0 || distance < bestDistance)) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

// The arrow keys move across the cross as the buttons lie, not along the Tab order.
bool FrmEmplacement::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_Left && key != Qt::Key_Right)
        return QDialog::eventFilter(watched, event);
    const auto from = std::find(mButtons.begin(), mButtons.end(), watched);
    if (from == mButtons.end())
        return QDialog::eventFilter(watched, event);
    if (const int to = neighbour(static_cast<int>(from - mButtons.begin()), key); to >= 0)
        mButtons[static_cast<std::size_t>(to)]->setFocus(Qt::OtherFocusReason);
    return true;
}

} // namespace kvt::windows
