// Test session helpers.
#include "ServerTestSession.h"

#include <gtest/gtest.h>

#include "sandbox/server/sql/ScriptSplitter.h"

namespace sandbox::test {

Value MapBinds::Get(const std::string& name) const {
  const auto found = values_.find(name);
  return found == values_.end() ? Value::Null() : found->second;
}

bool MapBinds::Set(const std::string& name, const Value& value, OraError&) {
  values_[name] = value;
  return true;
}

std::string UniqueDatabaseName() {
  static int counter = 0;
  return "mem:TEST" + std::to_string(++counter);
}

ServerTestSession::ServerTestSession() {
  OraError error;
  database_ = AttachDatabase(UniqueDatabaseName(), error);
  EXPECT_TRUE(database_) << error.message;
  if (database_)
    session_ = database_->Logon("SYSTEM", "manager", error);
  EXPECT_TRUE(session_) << error.message;
}

ServerTestSession::ServerTestSession(std::shared_ptr<Database> database, const std::string& user,
                                     const std::string& password)
    : database_(std::move(database)) {
  OraError error;
  session_ = database_->Logon(user, password, error);
  EXPECT_TRUE(session_) << error.message;
}

int ServerTestSession::Exec(const std::string& sql) {
  MapBinds none;
  return Exec(sql, none);
}

int ServerTestSession::Exec(const std::string& sql, BindSet& binds) {
  OraError warning;
  lastRowCount_ = 0;
  session_->Execute(sql, binds, lastRowCount_, lastError_, warning);
  return lastError_.code;
}

void ServerTestSession::Script(const std::string& script) {
  for (const ScriptStatement& statement : SplitScript(script)) {
    ASSERT_EQ(Exec(statement.text), 0)
        << "line " << statement.line << ": " << statement.text << "\n-> ORA-" << lastError_.code
        << ": " << lastError_.message;
  }
}

std::vector<std::string> ServerTestSession::Rows(const std::string& sql, const BindSet& binds) {
  std::vector<std::string> rows;
  auto cursor = session_->OpenQuery(sql, binds, lastError_);
  EXPECT_TRUE(cursor) << sql << "\n-> ORA-" << lastError_.code << ": " << lastError_.message;
  if (!cursor)
    return rows;
  std::vector<Value> row;
  while (cursor->Next(row, lastError_)) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i)
      line += (i ? "|" : "") + session_->ToText(row[i]);
    rows.push_back(line);
  }
  return rows;
}

std::string ServerTestSession::Value1(const std::string& sql, const BindSet& binds) {
  const auto rows = Rows(sql, binds);
  EXPECT_EQ(rows.size(), 1u) << sql;
  return rows.empty() ? std::string() : rows[0];
}

int ServerTestSession::QueryError(const std::string& sql, const BindSet& binds) {
  auto cursor = session_->OpenQuery(sql, binds, lastError_);
  return cursor ? 0 : lastError_.code;
}

}  // namespace sandbox::test
