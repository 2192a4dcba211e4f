// Start-up settings: the frame's placement and the library directory.
#include "ui/StartUpSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QWidget>

#include "config/SettingsStore.h"
#include "engine/RunSettings.h"

namespace {

constexpr const char* LibDirKey = "LibDir";
constexpr const char* LibDirUnset = "NOTFOUND";
constexpr int UnsetPosition = -32;
constexpr int PositionLimit = 2000;

bool IsUsableEdge(int edge) {
  return edge > 0 && edge < PositionLimit;
}

}  // namespace

QSize SavedFrameSize(SettingsStore& store) {
  const int width = store.GetInt(SettingsSection, "BigWidth", 0);
  const int height = store.GetInt(SettingsSection, "BigHeight", 0);
  return {width < 200 ? 800 : width, height < 100 ? 600 : height};
}

std::optional<QPoint> SavedFramePosition(SettingsStore& store) {
  const int x = store.GetInt(SettingsSection, "LocX", UnsetPosition);
  const int y = store.GetInt(SettingsSection, "LocY", UnsetPosition);
  if (!IsUsableEdge(x) || !IsUsableEdge(y)) {
    return std::nullopt;
  }
  return QPoint(x, y);
}

bool SavedFrameMaximized(SettingsStore& store) {
  return store.GetInt(SettingsSection, "BigMaximized", 0) != 0;
}

void SaveFramePlacement(SettingsStore& store, const QWidget& frame) {
  const bool maximized = frame.isMaximized();
  // A maximized or minimized frame keeps the place and size it will return to.
  // The size is the client area's, as resize() takes it back: the frame's
  // would make the window grow by its border on every start. The place is the
  // frame's corner, as move() takes it back.
  const QRect normal = frame.normalGeometry();
  const bool useNormal = (maximized || frame.isMinimized()) && normal.isValid();
  const QPoint border = frame.frameGeometry().topLeft() - frame.geometry().topLeft();
  const QSize size = useNormal ? normal.size() : frame.size();
  const QPoint place = useNormal ? normal.topLeft() + border : frame.pos();
  store.SetInt(SettingsSection, "BigWidth", size.width());
  store.SetInt(SettingsSection, "BigHeight", size.height());
  store.SetInt(SettingsSection, "BigMaximized", maximized ? 1 : 0);
  store.SetInt(SettingsSection, "LocX", place.x());
  store.SetInt(SettingsSection, "LocY", place.y());
}

void ShowFrameAsSaved(SettingsStore& store, QWidget& frame, bool minimized) {
  frame.resize(SavedFrameSize(store));
  if (minimized) {
    frame.showMinimized();
    return;
  }
  if (SavedFrameMaximized(store)) {
    frame.showMaximized();
    return;
  }
  if (const std::optional<QPoint> place = SavedFramePosition(store)) {
    frame.move(*place);
  }
  frame.show();
}

QString ProgramDataDirectory() {
  return QDir::cleanPath(
      QDir(QCoreApplication::applicationDirPath()).filePath("../share/quillmark"));
}

std::string LibraryDirectory(SettingsStore& store) {
  std::string directory = store.GetString(SettingsSection, LibDirKey, LibDirUnset);
  if (directory == LibDirUnset) {
    directory = QDir(ProgramDataDirectory()).filePath("SQL Library").toStdString();
    store.SetString(SettingsSection, LibDirKey, directory);
  }
  return directory;
}
