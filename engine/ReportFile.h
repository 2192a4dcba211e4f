// ReportFile: one report file open for writing, owned RAII-style, with the
// errors of every write, flush and close kept as errno values so that callers
// can tell a full disk from other failures. Writes are buffered; a failed flush
// tells how much of the buffer did not reach the file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class ReportFile {
 public:
  ReportFile() = default;
  ~ReportFile();
  ReportFile(const ReportFile&) = delete;
  ReportFile& operator=(const ReportFile&) = delete;

  // Creates path (an existing file is emptied).
  bool Create(const std::string& path);
  // Opens path without emptying it, creating it when missing.
  bool OpenExisting(const std::string& path);
  // Moves to the end of the file.
  bool SeekToEnd();
  bool IsOpen() const { return fd_ >= 0; }

  // Appends bytes to the buffer, flushing when it is full.
  bool Write(std::string_view bytes);
  bool Flush();
  // Flushes and closes; a closed file closes without error.
  bool Close();
  // Cuts the file back to length bytes (undoing a failed append); needs the
  // buffer to have been flushed or dropped.
  bool Truncate(long long length);
  // The bytes written since the file was opened or moved to its end.
  long long Position() const { return position_; }

  // Bytes that could not be written when the last flush failed; taking them
  // empties the buffer.
  std::string TakeUnwritten();
  // errno of the last failure; 0 when none.
  int LastError() const { return lastError_; }
  bool DiskFull() const;

 private:
  bool Open(const std::string& path, int flags);

  int fd_ = -1;
  std::string buffer_;
  long long position_ = 0;
  int lastError_ = 0;
};
