// Line-wise escaping of control characters on the way to the error stream.
#include "app/TerminalSafeStream.h"

#include "engine/TerminalSafeText.h"

TerminalSafeBuffer::~TerminalSafeBuffer() {
  Emit(true);
  target_.flush();
}

TerminalSafeBuffer::int_type TerminalSafeBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) {
    return traits_type::not_eof(c);
  }
  pending_ += traits_type::to_char_type(c);
  if (traits_type::to_char_type(c) == '\n') {
    Emit(false);
  }
  return c;
}

std::streamsize TerminalSafeBuffer::xsputn(const char* text, std::streamsize count) {
  pending_.append(text, static_cast<std::size_t>(count));
  Emit(false);
  return count;
}

int TerminalSafeBuffer::sync() {
  Emit(true);
  target_.flush();
  return target_.good() ? 0 : -1;
}

void TerminalSafeBuffer::Emit(bool whole) {
  // rfind gives npos without a line feed: npos + 1 is 0, nothing to pass on.
  const std::size_t end = whole ? pending_.size() : pending_.rfind('\n') + 1;
  if (end == 0) {
    return;
  }
  target_ << TerminalSafeText(std::string_view(pending_).substr(0, end));
  pending_.erase(0, end);
}
