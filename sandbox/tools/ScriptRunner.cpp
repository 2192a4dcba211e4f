// ScriptRunner: one statement handle per statement; queries are described,
// defined as strings (LONG and LOB columns dynamically, in pieces) and
// fetched a row at a time.
#include "sandbox/tools/ScriptRunner.h"

#include <map>
#include <memory>

namespace sandbox::tools {
namespace {

constexpr sb4 kColumnBufferSize = 4001;  // the longest VARCHAR2 and its terminator
constexpr ub4 kPieceSize = 65536;

// A statement handle freed when it goes out of scope.
class StatementOwner {
 public:
  StatementOwner(const OciLibrary& oci, OCIEnv* environment) : oci_(oci) {
    oci_.HandleAlloc(environment, reinterpret_cast<void**>(&statement_), OCI_HTYPE_STMT, 0,
                     nullptr);
  }
  ~StatementOwner() {
    if (statement_ != nullptr)
      oci_.HandleFree(statement_, OCI_HTYPE_STMT);
  }
  StatementOwner(const StatementOwner&) = delete;
  StatementOwner& operator=(const StatementOwner&) = delete;
  OCIStmt* Get() const { return statement_; }

 private:
  const OciLibrary& oci_;
  OCIStmt* statement_ = nullptr;
};

// One select-list column with its define buffer, or the pieces of a dynamic one.
struct OutputColumn {
  bool dynamic = false;
  std::vector<char> buffer;
  sb2 indicator = 0;
  std::string pieces;
};

bool IsLongType(ub2 type) {
  return type == SQLT_LNG || type == SQLT_LBI || type == SQLT_CLOB || type == SQLT_BLOB;
}

// Defines every select-list column: LONG and LOB columns dynamically (their
// define handles are entered in dynamicColumns), all others as strings.
bool DefineColumns(const OciLibrary& oci, OCIStmt* statement, OCIError* error,
                   std::vector<OutputColumn>& columns,
                   std::map<void*, std::size_t>& dynamicColumns) {
  ub4 count = 0;
  oci.AttrGet(statement, OCI_HTYPE_STMT, &count, nullptr, OCI_ATTR_PARAM_COUNT, error);
  columns.assign(count, {});
  for (ub4 position = 1; position <= count; ++position) {
    OutputColumn& column = columns[position - 1];
    void* parameter = nullptr;
    ub2 type = 0;
    if (oci.ParamGet(statement, OCI_HTYPE_STMT, error, &parameter, position) != OCI_SUCCESS) {
      return false;
    }
    oci.AttrGet(parameter, OCI_DTYPE_PARAM, &type, nullptr, OCI_ATTR_DATA_TYPE, error);
    oci.DescriptorFree(parameter, OCI_DTYPE_PARAM);
    column.dynamic = IsLongType(type);
    OCIDefine* define = nullptr;
    sword status;
    if (column.dynamic) {
      status = oci.DefineByPos(statement, &define, error, position, nullptr, 0x7FFFFFFF, SQLT_LNG,
                               nullptr, nullptr, nullptr, OCI_DYNAMIC_FETCH);
      dynamicColumns[define] = position - 1;
    } else {
      column.buffer.assign(kColumnBufferSize, '\0');
      status = oci.DefineByPos(statement, &define, error, position, column.buffer.data(),
                               kColumnBufferSize, SQLT_STR, &column.indicator, nullptr, nullptr,
                               OCI_DEFAULT);
    }
    if (status != OCI_SUCCESS)
      return false;
  }
  return true;
}

// Fetches one row, collecting the pieces of its dynamic columns.
sword FetchRow(const OciLibrary& oci, OCIStmt* statement, OCIError* error,
               std::vector<OutputColumn>& columns,
               const std::map<void*, std::size_t>& dynamicColumns) {
  for (OutputColumn& column : columns)
    column.pieces.clear();
  std::vector<char> piece(kPieceSize);
  OutputColumn* receiving = nullptr;
  ub4 length = 0;
  sb2 indicator = 0;
  sword status = oci.StmtFetch(statement, error, 1, OCI_FETCH_NEXT, OCI_DEFAULT);
  for (;;) {
    // Each fetch after a piece request has filled the piece buffer.
    if (receiving != nullptr && (status == OCI_SUCCESS || status == OCI_NEED_DATA)) {
      receiving->pieces.append(piece.data(), length);
    }
    if (status != OCI_NEED_DATA)
      return status;
    void* handle = nullptr;
    ub4 handleType = 0;
    ub1 direction = 0;
    ub4 iteration = 0;
    ub4 index = 0;
    ub1 which = 0;
    if (oci.StmtGetPieceInfo(statement, error, &handle, &handleType, &direction, &iteration, &index,
                             &which) != OCI_SUCCESS) {
      return OCI_ERROR;
    }
    auto column = dynamicColumns.find(handle);
    if (column == dynamicColumns.end())
      return OCI_ERROR;
    receiving = &columns[column->second];
    length = kPieceSize;
    // With an indicator a NULL value arrives as an empty piece, not as ORA-01405.
    oci.StmtSetPieceInfo(handle, OCI_HTYPE_DEFINE, error, piece.data(), &length, which, &indicator,
                         nullptr);
    status = oci.StmtFetch(statement, error, 1, OCI_FETCH_NEXT, OCI_DEFAULT);
  }
}

// Columns separated by "|"; NULL is printed as nothing.
std::string FormatRow(const std::vector<OutputColumn>& columns) {
  std::string line;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const OutputColumn& column = columns[i];
    if (i > 0)
      line += '|';
    if (column.dynamic) {
      line += column.pieces;
    } else if (column.indicator != -1) {
      line += column.buffer.data();
    }
  }
  return line;
}

}  // namespace

ScriptRunner::ScriptRunner(const OciLibrary& oci, ClientConnection& connection, std::ostream& rows,
                           std::ostream& errors, std::ostream& notes)
    : oci_(oci), connection_(connection), rows_(rows), errors_(errors), notes_(notes) {}

int ScriptRunner::Run(const std::string& scriptName,
                      const std::vector<ScriptStatement>& statements) {
  int failures = 0;
  for (const ScriptStatement& statement : statements) {
    if (statement.note) {
      if (!scriptName.empty())
        notes_ << scriptName << ':';
      notes_ << statement.line << ": " << statement.text << '\n';
      continue;
    }
    if (statement.toolCommand) {
      if (!scriptName.empty())
        notes_ << scriptName << ':';
      notes_ << statement.line << ": skipped, a command of the SQL tool: " << statement.text
             << '\n';
      continue;
    }
    if (!RunStatement(statement)) {
      Report(scriptName, statement.line);
      ++failures;
    }
  }
  return failures;
}

void ScriptRunner::Report(const std::string& scriptName, int line) {
  if (!scriptName.empty())
    errors_ << scriptName << ':';
  errors_ << line << ": " << connection_.LastErrorText() << '\n';
}

bool ScriptRunner::RunStatement(const ScriptStatement& script) {
  StatementOwner owner(oci_, connection_.Environment());
  OCIStmt* statement = owner.Get();
  OCIError* error = connection_.Error();
  if (oci_.StmtPrepare(statement, error, reinterpret_cast<const OraText*>(script.text.data()),
                       static_cast<ub4>(script.text.size()), OCI_NTV_SYNTAX,
                       OCI_DEFAULT) != OCI_SUCCESS) {
    return false;
  }
  ub2 type = 0;
  oci_.AttrGet(statement, OCI_HTYPE_STMT, &type, nullptr, OCI_ATTR_STMT_TYPE, error);
  if (type == OCI_STMT_SELECT)
    return RunQuery(statement);
  // A unit created with compilation errors counts as a failure of the script.
  return oci_.StmtExecute(connection_.Context(), statement, error, 1, 0, nullptr, nullptr,
                          OCI_DEFAULT) == OCI_SUCCESS;
}

bool ScriptRunner::RunQuery(OCIStmt* statement) {
  OCIError* error = connection_.Error();
  if (oci_.StmtExecute(connection_.Context(), statement, error, 0, 0, nullptr, nullptr,
                       OCI_DEFAULT) != OCI_SUCCESS) {
    return false;
  }
  std::vector<OutputColumn> columns;
  std::map<void*, std::size_t> dynamicColumns;
  if (!DefineColumns(oci_, statement, error, columns, dynamicColumns))
    return false;
  for (;;) {
    sword status = FetchRow(oci_, statement, error, columns, dynamicColumns);
    if (status == OCI_NO_DATA)
      return true;
    if (status != OCI_SUCCESS)
      return false;
    rows_ << FormatRow(columns) << '\n';
  }
}

}  // namespace sandbox::tools
