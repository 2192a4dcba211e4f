// Running SQL scripts into a database.
#include "sandbox/server/ScriptLoader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "sandbox/server/EmptyBindSet.h"
#include "sandbox/server/ServerDatabase.h"
#include "sandbox/server/sql/ScriptSplitter.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

namespace {

// "CONNECT user/password" of a script, or false for any other statement.
bool ParseConnect(const std::string& text, std::string& user, std::string& password) {
  std::istringstream words(text);
  std::string command, credentials;
  words >> command >> credentials;
  if (ToUpperAscii(command) != "CONNECT" && ToUpperAscii(command) != "CONN")
    return false;
  const std::size_t slash = credentials.find('/');
  user = credentials.substr(0, slash);
  password = slash == std::string::npos ? "" : credentials.substr(slash + 1);
  const std::size_t at = password.find('@');
  if (at != std::string::npos)
    password.erase(at);
  return true;
}

}  // namespace

bool RunScript(ServerDatabase& database, const std::string& script, const std::string& scriptName,
               OraError& error) {
  std::unique_ptr<Session> session = database.Logon("SYSTEM", "manager", error);
  if (!session)
    return false;
  EmptyBindSet binds;
  for (const ScriptStatement& statement : SplitScript(script)) {
    OraError warning;
    std::string user, password;
    bool ok;
    if (ParseConnect(statement.text, user, password)) {
      auto next = database.Logon(user, password, error);
      ok = next != nullptr;
      if (ok)
        session = std::move(next);
    } else {
      std::uint64_t rows = 0;
      ok = session->Execute(statement.text, binds, rows, error, warning);
      if (ok && warning.IsSet()) {
        error = warning;
        ok = false;
      }
    }
    if (!ok) {
      error.message = scriptName + ":" + std::to_string(statement.line) + ": " + error.message;
      return false;
    }
  }
  std::uint64_t rows = 0;
  OraError warning;
  return session->Execute("COMMIT", binds, rows, error, warning);
}

bool LoadDemoScripts(ServerDatabase& database, OraError& error) {
  for (std::size_t i = 0; i < kDemoScriptCount; ++i)
    if (!RunScript(database, kDemoScripts[i].text, kDemoScripts[i].name, error))
      return false;
  return true;
}

bool LoadScriptDirectory(ServerDatabase& database, const std::string& directory, OraError& error) {
  std::vector<std::filesystem::path> files;
  std::error_code code;
  for (const auto& entry : std::filesystem::directory_iterator(directory, code))
    if (entry.is_regular_file() && entry.path().extension() == ".sql")
      files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in.good() && !in.eof()) {
      error = {12154, "TNS:could not resolve the connect identifier specified"};
      return false;
    }
    if (!RunScript(database, text.str(), file.filename().string(), error))
      return false;
  }
  return true;
}

}  // namespace sandbox
