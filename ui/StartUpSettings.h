// StartUpSettings: what the desktop program reads from the settings store as
// it starts and writes back as it ends: the main window's size, place and
// maximized state, and the SQL library directory ("LibDir"), which the first
// start sets to the "SQL Library" folder beside the program's data.
#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <optional>

class QWidget;
class SettingsStore;

// The saved size; a width below 200 becomes 800 and a height below 100 600,
// so that a window shrunk to almost nothing comes back usable.
QSize SavedFrameSize(SettingsStore& store);
// The saved top-left corner, when both edges lie within 1..1999.
std::optional<QPoint> SavedFramePosition(SettingsStore& store);
bool SavedFrameMaximized(SettingsStore& store);
// Writes frame's size, place and maximized state; a maximized or minimized
// frame keeps the size and place it had before.
void SaveFramePlacement(SettingsStore& store, const QWidget& frame);

// Sizes and shows frame as it was at the last exit; minimized when the
// program starts with a configuration file to run.
void ShowFrameAsSaved(SettingsStore& store, QWidget& frame, bool minimized);

// The program's data folder: share/quillmark beside the program's folder.
QString ProgramDataDirectory();
// "LibDir", written with the default at the first start; a later start keeps
// whatever is stored, even a folder that no longer exists.
std::string LibraryDirectory(SettingsStore& store);
