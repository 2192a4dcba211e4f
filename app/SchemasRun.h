// SchemasRun: a headless run of several schemas (--schemas A,B,...), one
// run of RunBatch per schema: into one report, the schemas' reports one after
// the other, or with --split into a folder per schema.
#pragma once

#include <iosfwd>

#include "app/BatchOptions.h"

class SettingsStore;

// As RunBatch. A stop ends the whole run at once; otherwise every schema is
// scripted and the status is the first that was not BatchFinished.
int RunSchemas(const BatchOptions& options, SettingsStore& store, std::ostream& output,
               std::ostream& errors, int progressFd);
