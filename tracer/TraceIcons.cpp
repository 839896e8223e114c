#include "TraceIcons.h"

#include "TraceTree.h"

#include <QPainter>
#include <QPixmap>
#include <functional>

namespace kvt::tracer {

namespace {

constexpr int kSize = 16;

QIcon drawn(const std::function<void(QPainter &)> &draw) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

void letterInDisc(QPainter &painter, const QColor &colour, const QString &letter) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(1, 1, 14, 14));
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(11);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, letter);
}

QIcon functionIcon() {
    return drawn([](QPainter &painter) {
        painter.setPen(QColor(30, 60, 120));
        painter.setBrush(QColor(90, 140, 220));
        painter.drawRect(QRectF(1.5, 1.5, 13, 13));
        painter.setPen(Qt::white);
        QFont font = painter.font();
        font.setItalic(true);
        font.setBold(true);
        font.setPixelSize(12);
        painter.setFont(font);
        painter.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("f"));
    });
}

QIcon clockIcon() {
    return drawn([](QPainter &painter) {
        painter.setPen(QPen(QColor(60, 60, 60), 1.5));
        painter.setBrush(QColor(250, 240, 200));
        painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        painter.drawLine(QPointF(8, 8), QPointF(8, 4));
        painter.drawLine(QPointF(8, 8), QPointF(11, 9.5));
    });
}

} // namespace

QIcon traceIcon(std::string_view key) {
    if (key == kIconFunction)
        return functionIcon();
    if (key == kIconInfo)
        return drawn([](QPainter &painter) {
            letterInDisc(painter, QColor(40, 110, 200), QStringLiteral("i"));
        });
    if (key == kIconError)
        return drawn([](QPainter &painter) {
            letterInDisc(painter, QColor(200, 30, 30), QStringLiteral("!"));
        });
    if (key == kIconClock)
        return clockIcon();
    return {};
}

} // namespace kvt::tracer
