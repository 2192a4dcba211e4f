// The run-state flags shared by the user-interface thread and the worker, and
// the plain state kept next to them that only the user-interface thread uses.
// The shared flags are atomics: each is written by one side and polled by the
// other without a lock, which with plain integers would be a data race.
#pragma once

#include <atomic>
#include <string>

struct RunFlags {
  // 1 from the start of a run until its worker ends; cleared by Stop.
  std::atomic<int> Running{0};
  std::atomic<int> Paused{0};
  // Set by Skip, cleared by the phase that honours it.
  std::atomic<int> SkipRequested{0};
  // Set while a phase that honours Skip runs (sequences, data, statement rows).
  std::atomic<int> SkipAllowed{0};
  // The report has no unsaved content.
  std::atomic<int> ReportSaved{1};
  // 1 when the last run ended through the stop procedure (set by the worker).
  std::atomic<int> Stopped{0};

  // User-interface thread only.
  int HasRunBefore = 0;      // a scripting run was started; enables Rerun Last
  int SaveCancelled = 0;     // the last save's file dialog was cancelled
  std::string SavedCaption;  // the caption before Pause
  int FindFromTop = 1;
};
