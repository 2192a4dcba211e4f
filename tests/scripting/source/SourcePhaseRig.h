// Test support for the sequence and privilege phases: a run's settings,
// flags, report and control over a sandbox session, with the phase's writer.
#pragma once

#include <string>

#include "config/MemorySettingsStore.h"
#include "engine/ReportModel.h"
#include "engine/ReportOutput.h"
#include "engine/RunControl.h"
#include "engine/RunFlags.h"
#include "engine/RunSettings.h"
#include "engine/UnscriptedObjects.h"
#include "scripting/source/PhaseWriter.h"
#include "tests/engine/TestRunHost.h"

struct SourcePhaseRig {
  explicit SourcePhaseRig(std::string databaseName = "APP@TEST", TestRunHost* customHost = nullptr)
      : host(customHost != nullptr ? *customHost : ownHost),
        output(model, settings, flags, host, store),
        control(settings, flags, output, host),
        writer(settings, output, &host, std::move(databaseName), &unscripted) {
    settings.RunMode = ScriptingRunMode;
    settings.UpdateCommentPrefixes();
    flags.Running = 1;
  }

  // The report with CR LF as written.
  std::string Report() const { return model.Text(); }

  MemorySettingsStore store;
  TestRunHost ownHost;
  TestRunHost& host;
  RunSettings settings;
  RunFlags flags;
  ReportModel model;
  ReportOutput output;
  RunControl control;
  UnscriptedObjects unscripted;
  PhaseWriter writer;
};
