// The splash: a painted picture, so that no image file has to be found.
#include "ui/SplashScreen.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QSplashScreen>
#include <QTimer>
#include <QWidget>

namespace {

QPixmap SplashPicture() {
  QPixmap picture(380, 150);
  QPainter painter(&picture);
  QLinearGradient shade(0, 0, 0, picture.height());
  shade.setColorAt(0, QColor(0x2A, 0x3F, 0x5F));
  shade.setColorAt(1, QColor(0x10, 0x1A, 0x2A));
  painter.fillRect(picture.rect(), shade);
  painter.setPen(Qt::white);
  QFont title = painter.font();
  title.setPointSize(20);
  title.setBold(true);
  painter.setFont(title);
  painter.drawText(QRect(0, 30, picture.width(), 40), Qt::AlignCenter, "Quillmark for Oracle");
  QFont line = painter.font();
  line.setPointSize(10);
  line.setBold(false);
  painter.setFont(line);
  painter.drawText(QRect(0, 85, picture.width(), 24), Qt::AlignCenter,
                   QString("Version %1").arg(QUILLMARK_VERSION));
  return picture;
}

}  // namespace

void ShowSplash(QWidget& frame) {
  auto* splash = new QSplashScreen(SplashPicture());
  splash->setAttribute(Qt::WA_DeleteOnClose);
  splash->move(frame.frameGeometry().center() - splash->rect().center());
  splash->show();
  QTimer::singleShot(SplashShownMs, splash, &QWidget::close);
}
