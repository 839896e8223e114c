#include "windows/WindowLayout.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QWidget>
#include <cmath>

namespace kvt::windows {

namespace {

double dotsPerInch(const QWidget &widget, Qt::Orientation direction) {
    return direction == Qt::Horizontal ? widget.logicalDpiX() : widget.logicalDpiY();
}

} // namespace

int twipsToPixels(const QWidget &widget, double twips, Qt::Orientation direction) {
    return static_cast<int>(std::lround(twips * dotsPerInch(widget, direction) / 1440.0));
}

double pixelsToTwips(const QWidget &widget, int pixels, Qt::Orientation direction) {
    return pixels * 1440.0 / dotsPerInch(widget, direction);
}

int pointsToPixels(const QWidget &widget, double points, Qt::Orientation direction) {
    return twipsToPixels(widget, points * 20.0, direction);
}

void arrowsOnly(QSpinBox &upDown) {
    QStyleOptionSpinBox shape;
    shape.initFrom(&upDown);
    shape.rect = QRect(QPoint(0, 0), upDown.sizeHint());
    const QRect arrows =
        upDown.style()->subControlRect(QStyle::CC_SpinBox, &shape, QStyle::SC_SpinBoxUp, &upDown);
    upDown.setFixedWidth(shape.rect.width() - arrows.left());
}

void centreOnScreen(QWidget &window) {
    QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    QRect frame = window.frameGeometry();
    if (frame.isEmpty())
        frame.setSize(window.sizeHint());
    frame.moveCenter(available.center());
    window.move(frame.topLeft());
}

} // namespace kvt::windows
