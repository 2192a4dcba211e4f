// GatedRunPhases: a data phase over three tables of many rows that checks the
// run-control flags before every row, as real phase loops do, and lets a row
// pass its check only when the test releases it, so that pause, stop and skip
// can be observed at a known point.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

#include "engine/EmptyRunPhases.h"
#include "engine/RunEngine.h"

class GatedRunPhases : public EmptyRunPhases {
 public:
  void Attach(RunEngine& engine) { engine_ = &engine; }

  // Lets count more rows reach their check.
  void Release(int count) {
    {
      std::lock_guard lock(mutex_);
      permits_ += count;
    }
    changed_.notify_all();
  }
  // Lets every row pass from now on.
  void Open() { Release(1 << 30); }

  bool WaitForWritten(int count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return written_ >= count; });
  }
  int Written() {
    std::lock_guard lock(mutex_);
    return written_;
  }

  void RunDataPhase() override {
    for (int table = 0; table < 3; ++table) {
      const std::string name = "T" + std::to_string(table);
      for (int row = 0; row < 500; ++row) {
        Pass();
        engine_->Control().CheckStop();
        if (engine_->Flags().SkipRequested) {
          engine_->Output().OutputLine("-- Skipping table " + name + "\r\n", NoticeColour, false,
                                       true);
          engine_->Flags().SkipRequested = 0;
          break;
        }
        engine_->Output().OutputLine(
            "INSERT INTO " + name + " VALUES (" + std::to_string(row) + ");\r\n", NameColour, false,
            true);
        {
          std::lock_guard lock(mutex_);
          ++written_;
        }
        changed_.notify_all();
      }
    }
  }

 private:
  void Pass() {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::seconds(10), [&] { return permits_ > 0; });
    --permits_;
  }

  RunEngine* engine_ = nullptr;
  std::mutex mutex_;
  std::condition_variable changed_;
  int permits_ = 0;
  int written_ = 0;
};
