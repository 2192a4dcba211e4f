// Initial run state.
#include "engine/RunFlags.h"

void RunFlags::ResetRunState() {
  Paused = 0;
  SkipRequested = 0;
  SkipAllowed = 0;
  ReportSaved = 1;
}
