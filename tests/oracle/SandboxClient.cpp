// Test support shared by the Oracle client layer tests (see SandboxClient.h).
#include "tests/oracle/SandboxClient.h"

#include <gtest/gtest.h>

#include <atomic>

#include "oracle/DynamicLibrary.h"

void RecordingMessages::Show(const std::string& text, MessageKind kind) {
  texts.push_back(text);
  kinds.push_back(kind);
}

std::string SandboxLibraryPath() {
  return QUILLMARK_SANDBOX_LIBRARY;
}

std::unique_ptr<MemorySettingsStore> SandboxSettings() {
  auto settings = std::make_unique<MemorySettingsStore>();
  settings->SetInt("Settings", "OCIVER", 99);
  settings->SetString("Settings", "OCIDLL", SandboxLibraryPath());
  return settings;
}

int BreakSandboxConnections(const std::string& connectIdentifier, int count) {
  // The session's own load of the library is the same module: opening it
  // again only raises its reference count.
  DynamicLibrary library;
  if (!library.Open(SandboxLibraryPath())) {
    ADD_FAILURE() << "cannot open " << SandboxLibraryPath();
    return -1;
  }
  using BreakFunction = int (*)(const char*, int);
  auto breakConnections =
      reinterpret_cast<BreakFunction>(library.Symbol("QmSandboxBreakConnections"));
  if (breakConnections == nullptr) {
    ADD_FAILURE() << "the sandbox library lacks QmSandboxBreakConnections";
    return -1;
  }
  return breakConnections(connectIdentifier.c_str(), count);
}

std::string FreshDatabase(const std::string& stem) {
  static std::atomic<int> counter{0};
  return "mem:" + stem + std::to_string(++counter);
}

SandboxClient::SandboxClient()
    : settings(SandboxSettings()), session(std::make_unique<OracleSession>(*settings, messages)) {}

void SandboxClient::ConnectAsSystem(const std::string& database) {
  ASSERT_TRUE(session->Connect("system", "manager", database, true, true))
      << (messages.texts.empty() ? std::string() : messages.texts.front());
  ASSERT_TRUE(messages.texts.empty()) << messages.texts.front();
}
