// TerminalSafeStream: an output stream that passes its text on to another one
// with control characters made visible, line by line, so that object names
// and file names in messages cannot drive the terminal they are shown on.
#pragma once

#include <ostream>
#include <streambuf>
#include <string>

class TerminalSafeBuffer : public std::streambuf {
 public:
  explicit TerminalSafeBuffer(std::ostream& target) : target_(target) {}
  ~TerminalSafeBuffer() override;
  TerminalSafeBuffer(const TerminalSafeBuffer&) = delete;
  TerminalSafeBuffer& operator=(const TerminalSafeBuffer&) = delete;

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;
  int sync() override;

 private:
  // Passes on the complete lines held (all of them when whole is true).
  void Emit(bool whole);

  std::ostream& target_;
  std::string pending_;
};

class TerminalSafeStream : public std::ostream {
 public:
  explicit TerminalSafeStream(std::ostream& target) : std::ostream(&buffer_), buffer_(target) {}

 private:
  TerminalSafeBuffer buffer_;
};
