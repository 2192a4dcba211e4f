// Wiring of a report window's run engine.
#include "engine/RunEngine.h"

RunEngine::RunEngine(SettingsStore& store, RunHost& host, RunPhases& phases, RunDialogs& dialogs)
    : store_(store),
      output_(model_, settings_, flags_, host, store),
      control_(settings_, flags_, output_, host),
      driver_(settings_, flags_, output_, unscripted_, host, phases, dialogs) {
  settings_.LoadRunSettings(store_);
  settings_.RunMode = ScriptingRunMode;
  // A statement run keeps the prefixes of the load: they must be those of the
  // scripting mode, or a first statement run would write banners without "*  ".
  settings_.UpdateCommentPrefixes();
  model_.SetCharFormat(ReportCharFormat::Load(store_));
  control_.InterruptCallsOf(phases);
}

RunEngine::~RunEngine() {
  // The worker reads the settings; it must be gone before they are written back.
  driver_.StopWorker();
  settings_.SaveRunSettings(store_);
}
