// The test stand-in for a server session.
#include "FakeSession.h"

namespace sandbox::plsql::testing {

namespace {

class FakeDatabase : public Database {
 public:
  explicit FakeDatabase(std::string banner) : banner_(std::move(banner)) {}
  const std::string& Name() const override { return name_; }
  std::string VersionBanner() const override { return banner_; }
  std::unique_ptr<Session> Logon(const std::string&, const std::string&, OraError& error) override {
    error = {1017, "invalid username/password; logon denied"};
    return nullptr;
  }

 private:
  std::string name_ = "FAKE";
  std::string banner_;
};

class RowCursor : public Cursor {
 public:
  RowCursor(std::vector<ColumnInfo> columns, std::vector<Row> rows)
      : columns_(std::move(columns)), rows_(std::move(rows)) {}
  const std::vector<ColumnInfo>& Columns() const override { return columns_; }
  bool Next(Row& row, OraError&) override {
    if (next_ >= rows_.size())
      return false;
    row = rows_[next_++];
    return true;
  }

 private:
  std::vector<ColumnInfo> columns_;
  std::vector<Row> rows_;
  size_t next_ = 0;
};

}  // namespace

FakeSession::FakeSession(std::string banner)
    : database_(std::make_unique<FakeDatabase>(std::move(banner))) {}

void FakeSession::AddTable(const std::string& name, std::vector<ColumnInfo> columns) {
  tables_[name] = std::move(columns);
}

void FakeSession::AddQuery(const std::string& sql, FakeQuery query) {
  queries_[sql] = std::move(query);
}

std::map<std::string, Value> FakeSession::LastBinds(const std::string& sql) const {
  auto it = lastBinds_.find(sql);
  return it == lastBinds_.end() ? std::map<std::string, Value>{} : it->second;
}

std::unique_ptr<Cursor> FakeSession::OpenQuery(const std::string& sql, const BindSet& binds,
                                               OraError& error) {
  statements_.push_back(sql);
  auto it = queries_.find(sql);
  if (it == queries_.end()) {
    error = {942, "table or view does not exist"};
    return nullptr;
  }
  RecordBinds(sql, binds);
  return std::make_unique<RowCursor>(it->second.columns, it->second.rows(binds));
}

bool FakeSession::Execute(const std::string& sql, BindSet& binds, std::uint64_t& rowsProcessed,
                          OraError&, OraError&) {
  statements_.push_back(sql);
  RecordBinds(sql, binds);
  rowsProcessed = 3;
  return true;
}

void FakeSession::RecordBinds(const std::string& sql, const BindSet& binds) {
  auto& recorded = lastBinds_[sql];
  recorded.clear();
  for (int i = 1; i <= 9; ++i) {
    const std::string name = "PLSQL_B" + std::to_string(i);
    if (binds.Has(name))
      recorded[name] = binds.Get(name);
  }
}

std::vector<ColumnInfo> FakeSession::DescribeTable(const std::string& name) {
  auto it = tables_.find(name);
  return it == tables_.end() ? std::vector<ColumnInfo>{} : it->second;
}

ColumnInfo TextColumn(const std::string& name, std::uint16_t size) {
  ColumnInfo c;
  c.name = name;
  c.dataType = 1;
  c.dataSize = size;
  return c;
}

ColumnInfo NumberColumn(const std::string& name, std::int16_t precision, std::int8_t scale) {
  ColumnInfo c;
  c.name = name;
  c.dataType = 2;
  c.dataSize = 22;
  c.precision = precision;
  c.scale = scale;
  return c;
}

}  // namespace sandbox::plsql::testing
