// The DBMS_OUTPUT package over the session's buffer (Session::ServerOutput),
// which outlives each block so that a later call can drain it with GET_LINE.
// The limit counts the bytes of the buffered text; a line longer than the
// release allows raises ORU-10028 (255 bytes before 10g, 32767 after).
#pragma once

#include <optional>
#include <string>

#include "sandbox/server/Server.h"

namespace sandbox::plsql {

class DbmsOutput {
 public:
  DbmsOutput(Session::ServerOutput& state, size_t lineLimit);

  // Line limit of the server release a banner names.
  static size_t LineLimitOf(const std::string& versionBanner);

  // size: nullopt for ENABLE(NULL), which sets no limit.
  void Enable(std::optional<long double> size);
  void Disable();
  // These throw PlError (ORA-20000 with ORU-10027 or ORU-10028).
  void Put(const std::string& text);
  void PutLine(const std::string& text);
  void NewLine();
  // False (status 1) when no complete line is buffered.
  bool GetLine(std::string& line);

 private:
  void Reserve(size_t bytes);

  Session::ServerOutput& state_;
  size_t lineLimit_;
};

}  // namespace sandbox::plsql
