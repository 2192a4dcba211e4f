// Test support: acts on a modal dialog of a given class once a command has
// opened it, standing in for the user's clicks while exec() runs.
#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

template <typename Dialog>
void WhenDialogOpens(std::function<void(Dialog&)> act) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act)] {
    if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      act(*dialog);
    }
  });
  timer->start(10);
}
