// Help pages: found beside the program and opened in the desktop's browser.
#include "ui/HelpPages.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QShortcut>
#include <QUrl>

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
  return !path.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void AddHelp(QWidget& dialog, QDialogButtonBox& buttons, const QString& page) {
  buttons.addButton(QDialogButtonBox::Help);
  QObject::connect(&buttons, &QDialogButtonBox::helpRequested, &dialog,
                   [page] { ShowHelpPage(page); });
  auto* key = new QShortcut(QKeySequence::HelpContents, &dialog);
  QObject::connect(key, &QShortcut::activated, &dialog, [page] { ShowHelpPage(page); });
}
