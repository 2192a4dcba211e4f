// Test support: a fresh sandbox database with one schema to script, set up
// through SYSTEM, and the DDL generator over a session logged on to it.
#pragma once

#include <memory>
#include <string>

#include "scripting/tables/DdlGenerator.h"
#include "tests/oracle/SandboxClient.h"

struct SandboxSchema {
  // A fresh "mem:" database (or the given connect identifier) with the user
  // APP/app, who owns what Run creates.
  explicit SandboxSchema(const std::string& database = {});

  // Runs sql as APP; fails the test when the server refuses it.
  void Run(const std::string& sql);

  std::string database;
  SandboxClient client;
  std::unique_ptr<DdlGenerator> ddl;
};
