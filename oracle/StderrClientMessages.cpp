// Writes client-layer messages to standard error (see StderrClientMessages.h).
#include "oracle/StderrClientMessages.h"

#include <cstdio>

namespace {

const char* KindPrefix(MessageKind kind) {
  switch (kind) {
    case MessageKind::Information:
      return "";
    case MessageKind::Warning:
      return "Warning: ";
    case MessageKind::Error:
      return "Error: ";
  }
  return "";
}

}  // namespace

void StderrClientMessages::Show(const std::string& text, MessageKind kind) {
  // Oracle's error texts end with a line feed of their own; do not double it.
  const bool endsWithNewline = !text.empty() && text.back() == '\n';
  std::fprintf(stderr, "%s%s%s", KindPrefix(kind), text.c_str(), endsWithNewline ? "" : "\n");
  std::fflush(stderr);
}
