// HelpPages: the program's help, a set of HTML pages installed with it (one per
// dialog and per menu). Help Topics, F1 and every dialog's Help button open a
// page by its name through ShowHelpPage, in the program's own help window, so
// that help needs no browser on the machine.
#pragma once

#include <QString>

class QDialogButtonBox;
class QWidget;

// The folder of the installed pages: share/quillmark/help beside the program's
// own folder, which also holds in the build tree. Empty when it is missing.
QString HelpDirectory();

// The file of page name ("index", "connect", ...), or empty when not installed.
QString HelpPagePath(const QString& name);

// Shows page name in the help window; a missing page shows the contents page
// instead. False when neither is installed.
bool ShowHelpPage(const QString& name);

// Gives window the F1 key, opening page.
void AddHelpKey(QWidget& window, const QString& page);
// Gives dialog a Help button in buttons and the F1 key, both opening page.
void AddHelp(QWidget& dialog, QDialogButtonBox& buttons, const QString& page);
