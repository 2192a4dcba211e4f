// SiblingTools: the programs of the Tools menu, started from the PATH; when a
// tool is missing the user is offered its download page instead.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;
class UserPrompts;

struct SiblingTool {
  QString MenuText;
  QStringList Executables;  // looked up on the PATH in this order
  QString ProductName;      // as the install question names it
  QString DownloadAddress;
};

const SiblingTool& PenwickTool();
const SiblingTool& TallyfoldTool();

// The first of tool's executables found on the PATH, or empty.
QString FindTool(const SiblingTool& tool);
// Starts tool without waiting for it, or asks whether to install it and opens
// its download page on Yes.
void LaunchTool(const SiblingTool& tool, UserPrompts& prompts, QWidget* parent);
