// qmsandbox-run: runs a SQL script against a database through the OCI entry
// points of a client library (by default the sandbox's libqmsandbox.so next
// to this program).
//
//   qmsandbox-run [-l path/to/libqmsandbox.so] [-t] user/password@connect SCRIPT.sql
//
// -t writes a transcript: failures go to standard output as "LINE: ORA-..."
// between the query rows, in the order the statements ran, so that a whole
// run can be compared with an expected transcript.
//
// Exit status 0 when every statement succeeded, 1 when any failed or the
// logon failed, 2 for a wrong command line.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <limits.h>
#include <unistd.h>

#include "sandbox/tools/ClientConnection.h"
#include "sandbox/tools/OciLibrary.h"
#include "sandbox/tools/ScriptRunner.h"
#include "sandbox/tools/ScriptSplitter.h"

namespace {

std::string DefaultLibraryPath() {
  char path[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0)
    return "libqmsandbox.so";
  std::string self(path, static_cast<std::size_t>(length));
  return self.substr(0, self.rfind('/') + 1) + "libqmsandbox.so";
}

struct Credentials {
  std::string user;
  std::string password;
  std::string database;
};

// user/password@database; the database part may be absent.
bool ParseConnect(const std::string& text, Credentials& credentials) {
  std::size_t slash = text.find('/');
  if (slash == std::string::npos || slash == 0)
    return false;
  credentials.user = text.substr(0, slash);
  std::size_t at = text.find('@', slash + 1);
  credentials.password =
      text.substr(slash + 1, at == std::string::npos ? std::string::npos : at - slash - 1);
  credentials.database = at == std::string::npos ? std::string() : text.substr(at + 1);
  return true;
}

int Usage() {
  std::cerr << "usage: qmsandbox-run [-l path/to/libqmsandbox.so] [-t] user/password@connect "
               "SCRIPT.sql\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  std::string libraryPath = DefaultLibraryPath();
  if (arguments.size() >= 2 && arguments[0] == "-l") {
    libraryPath = arguments[1];
    arguments.erase(arguments.begin(), arguments.begin() + 2);
  }
  bool transcript = false;
  if (!arguments.empty() && arguments[0] == "-t") {
    transcript = true;
    arguments.erase(arguments.begin());
  }
  Credentials credentials;
  if (arguments.size() != 2 || !ParseConnect(arguments[0], credentials))
    return Usage();
  const std::string& scriptPath = arguments[1];

  std::ifstream file(scriptPath, std::ios::binary);
  if (!file) {
    std::cerr << "qmsandbox-run: cannot read " << scriptPath << '\n';
    return 1;
  }
  std::ostringstream script;
  script << file.rdbuf();

  std::string loadError;
  std::unique_ptr<sandbox::tools::OciLibrary> oci =
      sandbox::tools::OciLibrary::Load(libraryPath, loadError);
  if (!oci) {
    std::cerr << "qmsandbox-run: " << loadError << '\n';
    return 1;
  }
  sandbox::tools::ClientConnection connection(*oci);
  if (!connection.Connect(credentials.user, credentials.password, credentials.database)) {
    std::cerr << "qmsandbox-run: " << connection.LastErrorText() << '\n';
    return 1;
  }
  sandbox::tools::ScriptRunner runner(*oci, connection, std::cout,
                                      transcript ? std::cout : std::cerr);
  // A transcript names no script, so that it does not depend on where the script lies.
  const std::string reportedName = transcript ? std::string() : scriptPath;
  int failures = runner.Run(reportedName, sandbox::tools::SplitScript(script.str()));
  // As a command-line SQL tool does on a normal exit, keep the script's work.
  sandbox::tools::ScriptStatement commit{"COMMIT", 0};
  runner.Run(reportedName, {commit});
  return failures == 0 ? 0 : 1;
}
