// AttachDatabase: the connect identifier names a database, which is made at
// its first attach and kept for the rest of the process.
//   demo            the bundled demo database, built from the embedded scripts
//   mem:NAME        a fresh in-memory database with global name NAME
//   file:PATH       a persistent database in the SQLite file PATH
//   dir:PATH        built in memory from the *.sql files of directory PATH
//   NAME            $QUILLMARK_SANDBOX_HOME/NAME.db when that file exists
// each optionally followed by "?release=7.3.4", "?release=8.0.5" or "?release=8.1.7".
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>

#include "sandbox/server/ScriptLoader.h"
#include "sandbox/server/ServerDatabase.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

namespace {

struct Registry {
  std::mutex mutex;
  std::map<std::string, std::shared_ptr<ServerDatabase>> databases;  // by normalised identifier
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

bool StartsWithNoCase(const std::string& text, const char* prefix) {
  const std::string upper = ToUpperAscii(text.substr(0, std::char_traits<char>::length(prefix)));
  return upper == ToUpperAscii(prefix);
}

OraError Unresolved() {
  return {12154, "TNS:could not resolve the connect identifier specified"};
}

std::string BaseName(const std::filesystem::path& path) {
  return ToUpperAscii(path.filename().empty() ? path.parent_path().stem().string()
                                              : path.stem().string());
}

}  // namespace

std::shared_ptr<Database> AttachDatabase(const std::string& connectIdentifier, OraError& error) {
  error = {};
  std::string identifier = connectIdentifier;
  while (!identifier.empty() && std::isspace(static_cast<unsigned char>(identifier.back())))
    identifier.pop_back();
  while (!identifier.empty() && std::isspace(static_cast<unsigned char>(identifier.front())))
    identifier.erase(0, 1);
  std::string release = "19";
  const std::size_t query = identifier.find('?');
  if (query != std::string::npos) {
    const std::string option = identifier.substr(query + 1);
    identifier.erase(query);
    if (option == "release=7.3.4" || option == "release=8.0.5" || option == "release=8.1.7")
      release = option.substr(8);
    else if (option != "release=19") {
      error = Unresolved();
      return nullptr;
    }
  }
  if (identifier.empty()) {
    error = Unresolved();
    return nullptr;
  }

  ServerDatabase::Options options;
  options.release = release;
  std::string scriptDirectory;
  bool demo = false;
  std::string key;
  if (StartsWithNoCase(identifier, "mem:")) {
    options.globalName = ToUpperAscii(identifier.substr(4));
    key = "mem:" + options.globalName;
  } else if (StartsWithNoCase(identifier, "file:")) {
    options.filePath = identifier.substr(5);
    const std::filesystem::path path(options.filePath);
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored) ||
        !std::filesystem::is_directory(path.parent_path().empty() ? "." : path.parent_path(),
                                       ignored)) {
      error = Unresolved();
      return nullptr;
    }
    options.globalName = BaseName(path);
    key = "file:" + std::filesystem::absolute(path).lexically_normal().string();
  } else if (StartsWithNoCase(identifier, "dir:")) {
    const std::filesystem::path path(identifier.substr(4));
    std::error_code ignored;
    if (!std::filesystem::is_directory(path, ignored)) {
      error = Unresolved();
      return nullptr;
    }
    scriptDirectory = path.string();
    options.globalName = BaseName(path);
    key = "dir:" + std::filesystem::absolute(path).lexically_normal().string();
  } else if (ToUpperAscii(identifier) == "DEMO") {
    demo = true;
    options.globalName = "DEMO";
    key = "demo";
  } else {
    const char* home = std::getenv("QUILLMARK_SANDBOX_HOME");
    std::error_code ignored;
    if (home == nullptr || identifier.find_first_of("/\\:") != std::string::npos ||
        !std::filesystem::is_regular_file(std::filesystem::path(home) / (identifier + ".db"),
                                          ignored)) {
      error = Unresolved();
      return nullptr;
    }
    options.filePath = (std::filesystem::path(home) / (identifier + ".db")).string();
    options.globalName = ToUpperAscii(identifier);
    key = "file:" + std::filesystem::absolute(options.filePath).lexically_normal().string();
  }
  if (options.globalName.empty()) {
    error = Unresolved();
    return nullptr;
  }
  key += "?" + release;

  Registry& registry = TheRegistry();
  std::lock_guard lock(registry.mutex);
  if (const auto found = registry.databases.find(key); found != registry.databases.end())
    return found->second;
  auto database = ServerDatabase::Open(options, error);
  if (!database)
    return nullptr;
  if (demo && !LoadDemoScripts(*database, error))
    return nullptr;
  if (!scriptDirectory.empty() && !LoadScriptDirectory(*database, scriptDirectory, error))
    return nullptr;
  registry.databases[key] = database;
  return database;
}

}  // namespace sandbox
