// ReportFile: one report file open for writing, owned RAII-style, with the
// error of a failed write, flush or close kept as its errno value so that
// callers can tell a full disk from other failures. Writes are buffered; when a
// flush fails the bytes that did not reach the file are dropped and Position()
// still tells how much of the file was written.
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

  // The path that Create takes for standard output (headless runs).
  static constexpr const char* StandardOutputName = "-";

  // Creates path (an existing file is emptied); "-" writes to standard output,
  // with control characters shown escaped when that is a terminal.
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
  // Cuts the file back to length bytes, undoing a failed append; drops what is
  // buffered.
  bool Truncate(long long length);
  // Offset in the file after the last byte that reached it.
  long long Position() const { return position_; }

  // errno of the last failure; 0 when none.
  int LastError() const { return lastError_; }
  bool DiskFull() const;

 private:
  bool Open(const std::string& path, int flags);

  int fd_ = -1;
  std::string buffer_;
  long long position_ = 0;
  int lastError_ = 0;
  bool showControls_ = false;
};
