// HelpPages: the program's help, a set of HTML pages installed with it (one per
// dialog and per menu). Help Topics, F1 and every dialog's Help button open a
// page by its name through ShowHelpPage.
#pragma once

#include <QString>

class QDialogButtonBox;
class QWidget;

// The folder of the installed pages: share/quillmark/help beside the program's
// own folder, which also holds in the build tree. Empty when it is missing.
QString HelpDirectory();

// The file of page name ("index", "connect", ...), or empty when not installed.
QString HelpPagePath(const QString& name);

// Opens page name in the desktop's browser; a missing page opens the contents
// page instead. False when neither is installed or nothing could open it.
bool ShowHelpPage(const QString& name);

// Gives dialog a Help button in buttons and the F1 key, both opening page.
void AddHelp(QWidget& dialog, QDialogButtonBox& buttons, const QString& page);
