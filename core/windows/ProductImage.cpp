#include "windows/ProductImage.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainter>

namespace kvt::windows {

QPixmap productImage(int size) {
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x4e, 0x9a));
    painter.drawEllipse(QRectF(0, 0, size, size).adjusted(1, 1, -1, -1));
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(size * 3 / 5);
    painter.setFont(font);
    painter.setPen(QColor(0xff, 0xd7, 0x00));
    painter.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, QString(QChar(0x20AC)));
    return pixmap;
}

} // namespace kvt::windows
