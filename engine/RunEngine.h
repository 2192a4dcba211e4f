// RunEngine: everything a report window owns for its runs, wired together:
// the run settings (loaded from the store on construction with RunMode forced
// to scripting, written back on destruction), the run flags, the report model,
// report output, run control and the run driver.
#pragma once

#include "engine/ReportModel.h"
#include "engine/ReportOutput.h"
#include "engine/RunControl.h"
#include "engine/RunDriver.h"
#include "engine/RunFlags.h"
#include "engine/RunSettings.h"
#include "engine/UnscriptedObjects.h"

class RunDialogs;
class RunHost;
class RunPhases;
class SettingsStore;

class RunEngine {
 public:
  RunEngine(SettingsStore& store, RunHost& host, RunPhases& phases, RunDialogs& dialogs);
  ~RunEngine();
  RunEngine(const RunEngine&) = delete;
  RunEngine& operator=(const RunEngine&) = delete;

  SettingsStore& Store() { return store_; }
  RunSettings& Settings() { return settings_; }
  RunFlags& Flags() { return flags_; }
  ReportModel& Model() { return model_; }
  ReportOutput& Output() { return output_; }
  RunControl& Control() { return control_; }
  RunDriver& Driver() { return driver_; }
  // What the current or last run could not script.
  UnscriptedObjects& Unscripted() { return unscripted_; }

 private:
  SettingsStore& store_;
  RunSettings settings_;
  RunFlags flags_;
  ReportModel model_;
  ReportOutput output_;
  UnscriptedObjects unscripted_;
  RunControl control_;
  RunDriver driver_;
};
