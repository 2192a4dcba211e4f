// Test support for the Oracle client layer: a settings store that points the
// loader at the sandbox client library (choice 99 with "OCIDLL"), a
// ClientMessages that records what would have been shown, and access to the
// sandbox's connection-breaking hook.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "config/MemorySettingsStore.h"
#include "oracle/ClientMessages.h"
#include "oracle/OracleSession.h"

class RecordingMessages final : public ClientMessages {
 public:
  void Show(const std::string& text, MessageKind kind) override;

  std::vector<std::string> texts;
  std::vector<MessageKind> kinds;
};

// Settings of a test: library choice 99 naming the sandbox library.
std::unique_ptr<MemorySettingsStore> SandboxSettings();

// Path of the sandbox client library.
std::string SandboxLibraryPath();

// Breaks every session logged on to connectIdentifier and the next count - 1
// logons to it; returns the number of sessions broken now.
int BreakSandboxConnections(const std::string& connectIdentifier, int count);

// Arms the sandbox to break the connection just before the n-th execute
// (call 0) or fetch (call 1) to connectIdentifier from now on; n 0 only
// counts. Returns the number of such calls counted since the last arming.
int BreakSandboxAtCall(const std::string& connectIdentifier, int call, int n);

// A unique name for a fresh in-memory sandbox database ("mem:NAME").
std::string FreshDatabase(const std::string& stem);

// A session on the sandbox library, with its own settings and messages.
struct SandboxClient {
  SandboxClient();

  std::unique_ptr<MemorySettingsStore> settings;
  RecordingMessages messages;
  std::unique_ptr<OracleSession> session;

  // Logs on as SYSTEM to database; fails the test when that is impossible.
  void ConnectAsSystem(const std::string& database);
};
