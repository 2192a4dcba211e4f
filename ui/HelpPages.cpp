// Help pages: found beside the program and shown in the program's help window.
#include "ui/HelpPages.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QShortcut>
#include <QUrl>

#include "ui/HelpWindow.h"
#include "ui/StartUpSettings.h"

QString HelpDirectory() {
  const QString folder = QDir(ProgramDataDirectory()).filePath("help");
  return QFileInfo(folder).isDir() ? QDir::cleanPath(folder) : QString();
}

QString HelpPagePath(const QString& name) {
  const QString directory = HelpDirectory();
  // A name is a page of the help folder, never a path out of it.
  if (directory.isEmpty() || name.isEmpty() || name.contains('/') || name.contains("..")) {
    return {};
  }
  const QString path = QDir(directory).filePath(name + ".html");
  return QFileInfo(path).isFile() ? path : QString();
}

bool ShowHelpPage(const QString& name) {
  QString path = HelpPagePath(name);
  if (path.isEmpty()) {
    path = HelpPagePath("index");
  }
  if (path.isEmpty()) {
    return false;
  }
  ShowHelpWindow(QUrl::fromLocalFile(path));
  return true;
}

void AddHelpKey(QWidget& window, const QString& page) {
  auto* key = new QShortcut(QKeySequence::HelpContents, &window);
  QObject::connect(key, &QShortcut::activated, &window, [page] { ShowHelpPage(page); });
}

void AddHelp(QWidget& dialog, QDialogButtonBox& buttons, const QString& page) {
  buttons.addButton(QDialogButtonBox::Help);
  QObject::connect(&buttons, &QDialogButtonBox::helpRequested, &dialog,
                   [page] { ShowHelpPage(page); });
  AddHelpKey(dialog, page);
}
