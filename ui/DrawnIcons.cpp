// Copy and Print icons: the theme's, else simple line drawings.
#include "ui/DrawnIcons.h"

#include <QPainter>
#include <QPixmap>
#include <functional>

namespace {

constexpr int IconSize = 24;

QIcon Drawn(const std::function<void(QPainter&)>& draw) {
  QPixmap pixmap(IconSize, IconSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(60, 60, 60), 1.5));
  painter.setBrush(Qt::white);
  draw(painter);
  painter.end();
  return QIcon(pixmap);
}

}  // namespace

QIcon CopyIcon() {
  const QIcon themed = QIcon::fromTheme("edit-copy");
  if (!themed.isNull()) {
    return themed;
  }
  // Two sheets, the copy in front of the original.
  return Drawn([](QPainter& painter) {
    painter.drawRect(QRectF(3.5, 3.5, 11, 14));
    painter.drawRect(QRectF(9.5, 7.5, 11, 14));
  });
}

QIcon PrintIcon() {
  const QIcon themed = QIcon::fromTheme("document-print");
  if (!themed.isNull()) {
    return themed;
  }
  // A sheet going into a printer, and the printed sheet coming out.
  return Drawn([](QPainter& painter) {
    painter.drawRect(QRectF(6.5, 2.5, 11, 7));
    painter.setBrush(QColor(200, 200, 200));
    painter.drawRoundedRect(QRectF(2.5, 8.5, 19, 9), 2, 2);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(6.5, 14.5, 11, 7));
  });
}
