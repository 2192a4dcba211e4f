// The replayable record of a session's own settings (see SessionSetup.h).
#include "oracle/SessionSetup.h"

#include <cctype>

namespace {

// Lower case with runs of white space folded to one blank and none at the ends.
std::string Normalised(const std::string& text) {
  std::string result;
  bool blank = false;
  for (char c : text) {
    if (std::isspace(static_cast<unsigned char>(c))) {
      blank = !result.empty();
      continue;
    }
    if (blank) {
      result += ' ';
      blank = false;
    }
    result += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return result;
}

// The parameter that an "alter session set NAME = value" statement sets,
// or "" for any other statement.
std::string AlteredParameter(const std::string& sql) {
  static const std::string lead = "alter session set ";
  const std::string text = Normalised(sql);
  if (text.compare(0, lead.size(), lead) != 0) {
    return {};
  }
  const std::size_t end = text.find_first_of(" =", lead.size());
  return end == std::string::npos ? std::string() : text.substr(lead.size(), end - lead.size());
}

}  // namespace

void SessionSetup::NoteStatement(const std::string& sql) {
  const std::string key = AlteredParameter(sql);
  if (key.empty()) {
    return;
  }
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    if (keys_[i] == key) {
      statements_[i] = sql;
      return;
    }
  }
  keys_.push_back(key);
  statements_.push_back(sql);
}

void SessionSetup::Forget() {
  keys_.clear();
  statements_.clear();
  serverOutput_.reset();
}

std::string SessionSetup::EnableText(int bufferSize) {
  return "begin dbms_output.enable(" + std::to_string(bufferSize) + "); end;";
}
