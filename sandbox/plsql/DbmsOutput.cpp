// DBMS_OUTPUT: ENABLE, DISABLE, PUT, PUT_LINE, NEW_LINE and GET_LINE.
#include "sandbox/plsql/DbmsOutput.h"

#include "sandbox/plsql/PlError.h"

namespace sandbox::plsql {

namespace {
// ENABLE(n) takes sizes between these bounds; a NULL size means no limit,
// kept as a negative buffer size.
constexpr std::int64_t kMinimumSize = 2000;
constexpr std::int64_t kMaximumSize = 1000000;
}  // namespace

DbmsOutput::DbmsOutput(Session::ServerOutput& state, size_t lineLimit)
    : state_(state), lineLimit_(lineLimit) {}

size_t DbmsOutput::LineLimitOf(const std::string& versionBanner) {
  const bool before10g = versionBanner.rfind("Oracle7", 0) == 0 ||
                         versionBanner.rfind("Oracle8", 0) == 0 ||
                         versionBanner.rfind("Oracle9", 0) == 0;
  return before10g ? 255 : 32767;
}

// Repeated calls keep the largest size asked for, as Oracle documents.
void DbmsOutput::Enable(std::optional<long double> size) {
  const bool wasEnabled = state_.enabled;
  state_.enabled = true;
  if (!size) {
    state_.bufferSize = -1;
    return;
  }
  auto bytes = static_cast<std::int64_t>(*size);
  if (bytes < kMinimumSize)
    bytes = kMinimumSize;
  if (bytes > kMaximumSize)
    bytes = kMaximumSize;
  if (wasEnabled && (state_.bufferSize < 0 || state_.bufferSize > bytes))
    return;
  state_.bufferSize = bytes;
}

void DbmsOutput::Disable() {
  state_.enabled = false;
  state_.lines.clear();
  state_.pending.clear();
  state_.bytesUsed = 0;
}

void DbmsOutput::Reserve(size_t bytes) {
  if (state_.pending.size() + bytes > lineLimit_) {
    throw MakeError(20000, "ORU-10028: line length overflow, limit of " +
                               std::to_string(lineLimit_) +
                               (lineLimit_ == 255 ? " chars per line" : " bytes per line"));
  }
  if (state_.bufferSize >= 0 &&
      state_.bytesUsed + static_cast<std::int64_t>(bytes) > state_.bufferSize) {
    throw MakeError(20000, "ORU-10027: buffer overflow, limit of " +
                               std::to_string(state_.bufferSize) + " bytes");
  }
  state_.bytesUsed += static_cast<std::int64_t>(bytes);
}

void DbmsOutput::Put(const std::string& text) {
  if (!state_.enabled)
    return;
  Reserve(text.size());
  state_.pending += text;
}

void DbmsOutput::PutLine(const std::string& text) {
  if (!state_.enabled)
    return;
  Reserve(text.size());
  state_.pending += text;
  NewLine();
}

void DbmsOutput::NewLine() {
  if (!state_.enabled)
    return;
  state_.lines.push_back(std::move(state_.pending));
  state_.pending.clear();
}

bool DbmsOutput::GetLine(std::string& line) {
  if (!state_.enabled || state_.lines.empty())
    return false;
  line = std::move(state_.lines.front());
  state_.lines.erase(state_.lines.begin());
  state_.bytesUsed -= static_cast<std::int64_t>(line.size());
  if (state_.bytesUsed < 0)
    state_.bytesUsed = 0;
  return true;
}

}  // namespace sandbox::plsql
