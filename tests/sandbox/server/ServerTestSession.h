// A logged-on session of a fresh in-memory database for the server tests,
// with helpers that run statements and return rows as text.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sandbox/server/Server.h"

namespace sandbox::test {

// Binds by name from a map; Set stores OUT values in the map too.
class MapBinds : public BindSet {
 public:
  MapBinds() = default;
  MapBinds(std::initializer_list<std::pair<const std::string, Value>> values) : values_(values) {}
  bool Has(const std::string& name) const override { return values_.count(name) > 0; }
  Value Get(const std::string& name) const override;
  bool Set(const std::string& name, const Value& value, OraError& error) override;

 private:
  std::map<std::string, Value> values_;
};

class ServerTestSession {
 public:
  // A new database of a name no other test uses, logged on as user/password.
  ServerTestSession();
  explicit ServerTestSession(std::shared_ptr<Database> database, const std::string& user = "SYSTEM",
                             const std::string& password = "manager");

  // Runs a statement; the error code, or 0.
  int Exec(const std::string& sql);
  int Exec(const std::string& sql, BindSet& binds);
  // Runs every statement of a script; fails the test at the first error.
  void Script(const std::string& script);
  // Rows of a query, each row's columns joined with "|" (NULL as empty).
  std::vector<std::string> Rows(const std::string& sql, const BindSet& binds = MapBinds());
  // The query's one value.
  std::string Value1(const std::string& sql, const BindSet& binds = MapBinds());
  // Error code of opening the query, or 0.
  int QueryError(const std::string& sql, const BindSet& binds = MapBinds());

  Session& session() { return *session_; }
  Database& database() { return *database_; }
  const OraError& LastError() const { return lastError_; }
  std::uint64_t LastRowCount() const { return lastRowCount_; }

 private:
  std::shared_ptr<Database> database_;
  std::unique_ptr<Session> session_;
  OraError lastError_;
  std::uint64_t lastRowCount_ = 0;
};

std::string UniqueDatabaseName();

}  // namespace sandbox::test
