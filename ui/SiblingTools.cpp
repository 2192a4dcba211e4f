// Sibling tools: PATH lookup, detached start, the install question.
#include "ui/SiblingTools.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "ui/UserPrompts.h"

const SiblingTool& PenwickTool() {
  static const SiblingTool tool{
      "&Penwick", {"penwickp", "penwick"}, "Penwick", "https://www.quillmark.example/penwick"};
  return tool;
}

const SiblingTool& TallyfoldTool() {
  static const SiblingTool tool{"&Tallyfold for Oracle",
                                {"oratallyfold"},
                                "Tallyfold for Oracle",
                                "https://www.quillmark.example/tallyfold"};
  return tool;
}

QString FindTool(const SiblingTool& tool) {
  for (const QString& name : tool.Executables) {
    const QString path = QStandardPaths::findExecutable(name);
    if (!path.isEmpty()) {
      return path;
    }
  }
  return {};
}

void LaunchTool(const SiblingTool& tool, UserPrompts& prompts, QWidget* parent) {
  const QString path = FindTool(tool);
  if (!path.isEmpty() && QProcess::startDetached(path, {})) {
    return;
  }
  const QString question =
      tool.ProductName + " is not installed in your system, would you like to install it now?";
  if (prompts.ShowMessage(parent, question, MessageButtons::YesNo, MessageIcon::Question) ==
      MessageAnswer::Yes) {
    QDesktopServices::openUrl(QUrl(tool.DownloadAddress));
  }
}
