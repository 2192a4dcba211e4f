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

namespace {

// A test hook of the sandbox library, or null after a test failure.
template <typename Function>
Function SandboxHook(const char* name) {
  // The session's own load of the library is the same module: opening it
  // again only raises its reference count, and the library is never unloaded
  // while the process runs.
  static DynamicLibrary library;
  if (!library.IsOpen() && !library.Open(SandboxLibraryPath())) {
    ADD_FAILURE() << "cannot open " << SandboxLibraryPath();
    return nullptr;
  }
  auto hook = reinterpret_cast<Function>(library.Symbol(name));
  if (hook == nullptr) {
    ADD_FAILURE() << "the sandbox library lacks " << name;
  }
  return hook;
}

}  // namespace

int BreakSandboxConnections(const std::string& connectIdentifier, int count) {
  const auto hook = SandboxHook<int (*)(const char*, int)>("QmSandboxBreakConnections");
  return hook != nullptr ? hook(connectIdentifier.c_str(), count) : -1;
}

int BreakSandboxAtCall(const std::string& connectIdentifier, int call, int n) {
  const auto hook = SandboxHook<int (*)(const char*, int, int)>("QmSandboxBreakAtCall");
  return hook != nullptr ? hook(connectIdentifier.c_str(), call, n) : -1;
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
