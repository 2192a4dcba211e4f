// ConnectIdentifier: what OCIServerAttach is given, split into the database
// that the server resolves and the optional "?release=" suffix that chooses
// the banner OCIServerVersion reports, so that old server releases can be
// tested against any database.
#pragma once

#include <optional>
#include <string>

namespace sandbox::oci {

struct ConnectIdentifier {
  std::string database;               // handed to sandbox::AttachDatabase
  std::optional<std::string> banner;  // set by a "?release=" suffix

  // False for a release the sandbox does not know (the client then reports
  // ORA-12154, as for any identifier that resolves to nothing). An empty text
  // names the default database: $TWO_TASK when it is set, otherwise "demo".
  static bool Parse(const std::string& text, ConnectIdentifier& result);
};

}  // namespace sandbox::oci
