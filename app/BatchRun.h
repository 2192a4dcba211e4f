// The headless run: connects with the connect string of the command line and
// scripts the schema through the same run engine and phases as the desktop
// program, with the report in a file or on the output stream.
#pragma once

#include <iosfwd>

#include "app/BatchOptions.h"

class SettingsStore;

// Returns the exit status (BatchExitStatus). Messages go to errors, their
// control characters made visible; the progress line goes to progressFd when
// that is a terminal (-1: nowhere).
// Ctrl+C and SIGTERM stop the run while it goes on.
int RunBatch(const BatchOptions& options, SettingsStore& store, std::ostream& output,
             std::ostream& errors, int progressFd = -1);
