#pragma once

#include <Qt>

class QSpinBox;
class QWidget;

namespace kvt::windows {

// Lengths of the window descriptions, in twips (1440 to the logical inch) or points (72 to the
// inch), as pixels of the screen the widget is on; rounded to the nearest pixel.
int twipsToPixels(const QWidget &widget, double twips, Qt::Orientation direction = Qt::Horizontal);
double pixelsToTwips(const QWidget &widget, int pixels, Qt::Orientation direction = Qt::Horizontal);
int pointsToPixels(const QWidget &widget, double points,
                   Qt::Orientation direction = Qt::Horizontal);

// Narrows a spin box to its arrows, so that it serves as the up-down control of a field beside
// it that shows the number.
void arrowsOnly(QSpinBox &upDown);

// Moves a window to the centre of the screen it is on (the primary screen before it is shown).
void centreOnScreen(QWidget &window);

} // namespace kvt::windows
