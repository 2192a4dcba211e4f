// SessionSetup: what the program has set in its database session beyond the
// logon itself: the ALTER SESSION settings it issued (date, timestamp and
// numeric formats, ...) and whether server output is enabled, with which
// buffer size. After a lost connection the session logs on again and replays
// this record, so that the new session behaves as the old one did.
#pragma once

#include <optional>
#include <string>
#include <vector>

class SessionSetup {
 public:
  // Notes sql when it is an "alter session set" statement that succeeded; a
  // later setting of the same parameter replaces the earlier one.
  void NoteStatement(const std::string& sql);
  void NoteServerOutput(std::optional<int> bufferSize) { serverOutput_ = bufferSize; }
  void Forget();

  // The statements to replay, in the order they were first issued.
  const std::vector<std::string>& AlterStatements() const { return statements_; }
  std::optional<int> ServerOutput() const { return serverOutput_; }

  // "begin dbms_output.enable(size); end;"
  static std::string EnableText(int bufferSize);

 private:
  std::vector<std::string> keys_;
  std::vector<std::string> statements_;
  std::optional<int> serverOutput_;
};
