// Thread priority of the current thread, one small function per platform call.
#pragma once

// Lowers the calling thread one step below normal priority (statement runs).
// Failing to do so is harmless and ignored.
void LowerCurrentThreadPriority();
