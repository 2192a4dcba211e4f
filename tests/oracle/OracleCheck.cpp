// A command-line check of the Oracle client layer: loads a client library
// through the loader (choice 99 naming it), logs on, prints the database's
// global name and its users, and runs a block that prints through
// DBMS_OUTPUT. Exit status 0 when every step worked.
//
//   oracle_check LIBRARY USER PASSWORD DATABASE
#include <cstdio>
#include <string>
#include <vector>

#include "config/MemorySettingsStore.h"
#include "oracle/OracleSession.h"
#include "oracle/StderrClientMessages.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s LIBRARY USER PASSWORD DATABASE\n", argv[0]);
    return 2;
  }
  MemorySettingsStore settings;
  settings.SetInt("Settings", "OCIVER", 99);
  settings.SetString("Settings", "OCIDLL", argv[1]);
  StderrClientMessages messages;
  OracleSession session(settings, messages);
  if (!session.Connect(argv[2], argv[3], argv[4], true, true)) {
    return 1;
  }
  std::printf("Global name: %s\n", session.GlobalName().c_str());
  std::printf("Version class: %s\n", session.VersionClass().c_str());

  std::vector<std::string> users;
  session.ListUsers(users);
  std::printf("Users:");
  for (const std::string& user : users) {
    std::printf(" %s", user.c_str());
  }
  std::printf("\n");

  const std::string printed = session.RunPrintingBlock(
      "begin dbms_output.put_line('Logged on as ' || user || ' to ' || :bind1); "
      "dbms_output.put_line(:bind2); end;",
      session.GlobalName(), "Block output works.", "", "");
  std::printf("Block output:\n%s", printed.c_str());

  const bool ok = !session.GlobalName().empty() && !users.empty() &&
                  printed.find("Block output works.") != std::string::npos;
  session.Disconnect();
  return ok ? 0 : 1;
}
