// Statement preparation, binds, defines and the batch bookkeeping of array
// fetches (see OracleStatement.h).
#include "oracle/OracleStatement.h"

#include <algorithm>

#include "oracle/OracleSession.h"

namespace {

// A statement on a session that is not logged on (never, or no longer after
// Disconnect) is not a lost connection: it must not log on by itself.
constexpr int NotLoggedOnCode = 1012;
constexpr const char* NotLoggedOnText = "ORA-01012: not logged on\n";
constexpr sb4 LongDefineSize = 2147483647;

bool IsExecuteSuccess(sword rc) {
  return rc == OCI_SUCCESS || rc == OCI_SUCCESS_WITH_INFO || rc == OCI_NEED_DATA;
}

}  // namespace

OracleStatement::OracleStatement(OracleSession& session) : session_(session) {}

OracleStatement::~OracleStatement() {
  // A handle of an earlier generation went away with its environment.
  if (handle_ != nullptr && handleGeneration_ == session_.HandleGeneration() &&
      session_.Library().IsUsable()) {
    session_.Oci().OCIHandleFree(handle_, OCI_HTYPE_STMT);
  }
}

std::string OracleStatement::ReducePercents(const std::string& text) {
  std::string reduced;
  reduced.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    reduced += text[i];
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == '%') {
      ++i;
    }
  }
  return reduced;
}

bool OracleStatement::CanCallServer() const {
  return session_.IsConnected() && session_.Library().IsUsable();
}

bool OracleStatement::EnsureHandle() {
  if (handle_ != nullptr && handleGeneration_ != session_.HandleGeneration()) {
    handle_ = nullptr;
    define_ = nullptr;
    bind_ = nullptr;
  }
  if (handle_ != nullptr) {
    return true;
  }
  if (!CanCallServer()) {
    return false;
  }
  void* handle = nullptr;
  if (session_.Oci().OCIHandleAlloc(session_.Environment(), &handle, OCI_HTYPE_STMT, 0, nullptr) !=
      OCI_SUCCESS) {
    session_.DiscardError();
    return false;
  }
  handle_ = static_cast<OCIStmt*>(handle);
  handleGeneration_ = session_.HandleGeneration();
  return true;
}

void OracleStatement::Prepare(const std::string& text) {
  rowsPerFetch_ = 1;
  rowsInBatch_ = 0;
  totalRows_ = 0;
  statementType_ = 0;
  ownArrayDefines_.clear();
  refusedDefine_.clear();
  text_ = ReducePercents(text);
  if (!EnsureHandle()) {
    return;
  }
  const ClientEntryPoints& oci = session_.Oci();
  if (oci.OCIStmtPrepare(
          handle_, session_.ErrorHandle(), reinterpret_cast<const OraText*>(text_.data()),
          static_cast<ub4>(text_.size()), OCI_NTV_SYNTAX, OCI_DEFAULT) != OCI_SUCCESS) {
    session_.DiscardError();
  }
  ub2 type = 0;
  if (oci.OCIAttrGet(handle_, OCI_HTYPE_STMT, &type, nullptr, OCI_ATTR_STMT_TYPE,
                     session_.ErrorHandle()) != OCI_SUCCESS) {
    session_.DiscardError();
  }
  statementType_ = static_cast<short>(type);
}

void OracleStatement::BindString(const std::string& name, char* buffer, int maxLength,
                                 sb2* indicator) {
  rowsPerFetch_ = 1;
  if (maxLength < 0 || !EnsureHandle()) {
    return;
  }
  if (session_.Oci().OCIBindByName(
          handle_, &bind_, session_.ErrorHandle(), reinterpret_cast<const OraText*>(name.data()),
          static_cast<sb4>(name.size()), buffer, maxLength + 1, SQLT_STR, indicator, nullptr,
          nullptr, 0, nullptr, OCI_DEFAULT) != OCI_SUCCESS) {
    session_.DiscardError();
  }
}

void OracleStatement::BindInt(const std::string& name, int* value) {
  rowsPerFetch_ = 1;
  if (!EnsureHandle()) {
    return;
  }
  if (session_.Oci().OCIBindByName(
          handle_, &bind_, session_.ErrorHandle(), reinterpret_cast<const OraText*>(name.data()),
          static_cast<sb4>(name.size()), value, sizeof(int), SQLT_INT, nullptr, nullptr, nullptr, 0,
          nullptr, OCI_DEFAULT) != OCI_SUCCESS) {
    session_.DiscardError();
  }
}

void OracleStatement::Define(int position, char* buffer, int maxLength, sb2* indicator,
                             ub2* length) {
  if (maxLength < 0 || position < 1 || !EnsureHandle()) {
    return;
  }
  if (session_.Oci().OCIDefineByPos(handle_, &define_, session_.ErrorHandle(),
                                    static_cast<ub4>(position), buffer, maxLength + 1, SQLT_STR,
                                    indicator, length, nullptr, OCI_DEFAULT) != OCI_SUCCESS) {
    session_.DiscardError();
  }
}

void OracleStatement::DefineString(int position, char* buffer, int maxLength, sb2* indicator) {
  Define(position, buffer, maxLength, indicator, nullptr);
  rowsPerFetch_ = 1;
}

OracleStatement::OwnArrayDefine* OracleStatement::ReserveArrayDefine(int position, int rows) {
  if (position < 1 || position > MaxArrayColumns) {
    refusedDefine_ = "Column " + std::to_string(position) + " cannot be fetched: at most " +
                     std::to_string(MaxArrayColumns) + " columns can be defined for arrays.";
    return nullptr;
  }
  if (ownArrayDefines_.size() < static_cast<std::size_t>(position)) {
    ownArrayDefines_.resize(static_cast<std::size_t>(position));
  }
  // Return lengths are an array too, because the client writes one per
  // fetched row.
  OwnArrayDefine& define = ownArrayDefines_[static_cast<std::size_t>(position - 1)];
  define.indicators.assign(static_cast<std::size_t>(rows), 0);
  define.lengths.assign(static_cast<std::size_t>(rows), 0);
  define.buffer = nullptr;
  define.maxLength = -1;
  return &define;
}

void OracleStatement::DefineStringArray(int position, char* buffer, int maxLength, int rows) {
  rows = std::clamp(rows, 1, MaxArrayRows);
  OwnArrayDefine* define = ReserveArrayDefine(position, rows);
  if (define == nullptr) {
    return;
  }
  define->buffer = buffer;
  define->maxLength = maxLength;
  Define(position, buffer, maxLength, define->indicators.data(), define->lengths.data());
  rowsPerFetch_ = rows;
}

void OracleStatement::DefineLobArray(int position, OCILobLocator** locators, ub2 type, int rows) {
  rows = std::clamp(rows, 1, MaxArrayRows);
  OwnArrayDefine* define = ReserveArrayDefine(position, rows);
  if (define == nullptr || !EnsureHandle()) {
    return;
  }
  if (session_.Oci().OCIDefineByPos(
          handle_, &define_, session_.ErrorHandle(), static_cast<ub4>(position), locators,
          static_cast<sb4>(sizeof(OCILobLocator*)), type, define->indicators.data(),
          define->lengths.data(), nullptr, OCI_DEFAULT) != OCI_SUCCESS) {
    session_.DiscardError();
  }
  rowsPerFetch_ = rows;
}

void OracleStatement::DefineStringArrayWith(int position, char* buffer, int maxLength, int rows,
                                            sb2* indicators, ub2* lengths) {
  Define(position, buffer, maxLength, indicators, lengths);
  rowsPerFetch_ = std::max(rows, 1);
}

sb2 OracleStatement::Indicator(int position, int row) const {
  if (position < 1 || static_cast<std::size_t>(position) > ownArrayDefines_.size() || row < 0) {
    return 0;
  }
  const std::vector<sb2>& indicators =
      ownArrayDefines_[static_cast<std::size_t>(position - 1)].indicators;
  return static_cast<std::size_t>(row) < indicators.size()
             ? indicators[static_cast<std::size_t>(row)]
             : sb2{0};
}

void OracleStatement::BlankNullValues() {
  // The client leaves a NULL value's buffer as it was; without this the row
  // would show the value of an earlier row.
  for (const OwnArrayDefine& define : ownArrayDefines_) {
    if (define.maxLength < 0) {
      continue;
    }
    const std::size_t rows =
        std::min(define.indicators.size(), static_cast<std::size_t>(rowsInBatch_));
    for (std::size_t row = 0; row < rows; ++row) {
      if (define.indicators[row] == -1) {
        define.buffer[row * (static_cast<std::size_t>(define.maxLength) + 1)] = '\0';
      }
    }
  }
}

void OracleStatement::SetPrefetch(ub4 rows, ub4 memoryBytes) {
  if (!EnsureHandle()) {
    return;
  }
  const ClientEntryPoints& oci = session_.Oci();
  if (oci.OCIAttrSet(handle_, OCI_HTYPE_STMT, &rows, 0, OCI_ATTR_PREFETCH_ROWS,
                     session_.ErrorHandle()) != OCI_SUCCESS) {
    session_.DiscardError();
  }
  if (oci.OCIAttrSet(handle_, OCI_HTYPE_STMT, &memoryBytes, 0, OCI_ATTR_PREFETCH_MEMORY,
                     session_.ErrorHandle()) != OCI_SUCCESS) {
    session_.DiscardError();
  }
}

ub4 OracleStatement::ReadCountAttribute(ub4 attribute) {
  ub4 value = 0;
  if (session_.Oci().OCIAttrGet(handle_, OCI_HTYPE_STMT, &value, nullptr, attribute,
                                session_.ErrorHandle()) != OCI_SUCCESS) {
    session_.DiscardError();
  }
  return value;
}

sword OracleStatement::ExecuteWithIterations(ub4 iterations) {
  if (!CanCallServer()) {
    session_.SetClientError(NotLoggedOnCode, NotLoggedOnText);
    return OCI_ERROR;
  }
  if (handle_ == nullptr || handleGeneration_ != session_.HandleGeneration()) {
    session_.SetClientError(0,
                            "The statement was prepared on an earlier connection; it has to be "
                            "prepared again.");
    return OCI_ERROR;
  }
  session_.ClearClientError();
  return session_.Oci().OCIStmtExecute(session_.ServiceContext(), handle_, session_.ErrorHandle(),
                                       iterations, 0, nullptr, nullptr, OCI_DEFAULT);
}

bool OracleStatement::Execute(int* sqlFunctionCode, int* count, int* status, short* statementType) {
  if (!refusedDefine_.empty()) {
    session_.SetClientError(0, refusedDefine_);
    return false;
  }
  const ub4 iterations = (count != nullptr && statementType_ == static_cast<short>(OCI_STMT_SELECT))
                             ? 0
                             : static_cast<ub4>(rowsPerFetch_);
  const sword rc = ExecuteWithIterations(iterations);
  if (status != nullptr) {
    *status = rc;
  }
  if (rc == OCI_NO_DATA) {
    rowsInBatch_ =
        std::min(static_cast<int>(ReadCountAttribute(OCI_ATTR_ROW_COUNT)), rowsPerFetch_);
    if (rowsInBatch_ <= 0) {
      rowsInBatch_ = 0;
      totalRows_ = 0;
      return false;
    }
  } else {
    rowsInBatch_ = rowsPerFetch_;
    if (iterations != 0) {
      totalRows_ += rowsPerFetch_;
    }
    if (!IsExecuteSuccess(rc)) {
      return false;
    }
  }
  if (iterations != 0) {
    BlankNullValues();
  }

  if (sqlFunctionCode != nullptr) {
    *sqlFunctionCode = static_cast<int>(ReadCountAttribute(OCI_ATTR_SQLFNCODE) & 0xFFFFu);
  }
  if (count != nullptr) {
    switch (static_cast<ub2>(statementType_)) {
      case OCI_STMT_SELECT:
        *count = static_cast<int>(ReadCountAttribute(OCI_ATTR_PARAM_COUNT));
        break;
      case OCI_STMT_UPDATE:
      case OCI_STMT_DELETE:
      case OCI_STMT_INSERT:
        *count = static_cast<int>(ReadCountAttribute(OCI_ATTR_ROW_COUNT));
        break;
      default:
        break;
    }
  }
  if (statementType != nullptr) {
    ub2 type = 0;
    if (session_.Oci().OCIAttrGet(handle_, OCI_HTYPE_STMT, &type, nullptr, OCI_ATTR_STMT_TYPE,
                                  session_.ErrorHandle()) != OCI_SUCCESS) {
      session_.DiscardError();
    }
    *statementType = static_cast<short>(type);
  }
  return true;
}

bool OracleStatement::FetchNext() {
  fetchFailed_ = false;
  if (rowsInBatch_ < rowsPerFetch_) {
    return false;  // the previous batch was the last
  }
  if (!CanCallServer() || handle_ == nullptr || handleGeneration_ != session_.HandleGeneration()) {
    // The cursor is gone with its connection: the rows are not at their end.
    session_.SetClientError(NotLoggedOnCode, NotLoggedOnText);
    fetchFailed_ = true;
    return false;
  }
  session_.ClearClientError();
  const sword rc =
      session_.Oci().OCIStmtFetch(handle_, session_.ErrorHandle(), static_cast<ub4>(rowsPerFetch_),
                                  OCI_FETCH_NEXT, OCI_DEFAULT);
  if (rc == OCI_NO_DATA) {
    const int rowCount = static_cast<int>(ReadCountAttribute(OCI_ATTR_ROW_COUNT));
    if (rowCount <= totalRows_) {
      totalRows_ = 0;
      rowsInBatch_ = 0;
      return false;
    }
    rowsInBatch_ = std::min(rowCount - totalRows_, rowsPerFetch_);
    BlankNullValues();
    return true;
  }
  rowsInBatch_ = rowsPerFetch_;
  totalRows_ += rowsPerFetch_;
  if (rc != OCI_SUCCESS) {
    fetchFailed_ = true;
    return false;
  }
  BlankNullValues();
  return true;
}

bool OracleStatement::FetchLongPieces(int position, std::string& value,
                                      const std::function<void()>& onPiece) {
  fetchFailed_ = false;
  if (!CanCallServer() || handle_ == nullptr) {
    fetchFailed_ = true;
    return false;
  }
  const ClientEntryPoints& oci = session_.Oci();
  OCIError* error = session_.ErrorHandle();
  if (oci.OCIDefineByPos(handle_, &define_, error, static_cast<ub4>(position), nullptr,
                         LongDefineSize, SQLT_LNG, nullptr, nullptr, nullptr,
                         OCI_DYNAMIC_FETCH) != OCI_SUCCESS) {
    session_.DiscardError();
  }
  sword rc = oci.OCIStmtFetch(handle_, error, 1, OCI_FETCH_NEXT, OCI_DEFAULT);
  if (rc != OCI_NEED_DATA) {
    fetchFailed_ = rc != OCI_SUCCESS && rc != OCI_SUCCESS_WITH_INFO && rc != OCI_NO_DATA;
    return rc == OCI_SUCCESS;
  }

  std::vector<char> piece(LongPieceSize);
  // Only "need data" asks for another piece: a status with information ends
  // the value, so a client that keeps answering it cannot hold us in the loop.
  while (rc == OCI_NEED_DATA) {
    void* pieceHandle = nullptr;
    ub4 handleType = 0;
    ub1 direction = 0;
    ub4 iteration = 0;
    ub4 index = 0;
    ub1 pieceKind = OCI_ONE_PIECE;
    if (oci.OCIStmtGetPieceInfo(handle_, error, &pieceHandle, &handleType, &direction, &iteration,
                                &index, &pieceKind) != OCI_SUCCESS) {
      fetchFailed_ = true;
      return false;
    }
    ub4 length = LongPieceSize;
    // A NULL value reads as empty; without an indicator it would be an error.
    sb2 indicator = 0;
    if (oci.OCIStmtSetPieceInfo(pieceHandle != nullptr ? pieceHandle : define_, OCI_HTYPE_DEFINE,
                                error, piece.data(), &length, pieceKind, &indicator,
                                nullptr) != OCI_SUCCESS) {
      session_.ReportError(true, false, nullptr);
    }
    rc = oci.OCIStmtFetch(handle_, error, 1, OCI_FETCH_NEXT, OCI_DEFAULT);
    if (rc != OCI_SUCCESS && rc != OCI_SUCCESS_WITH_INFO && rc != OCI_NEED_DATA) {
      fetchFailed_ = true;
      return false;
    }
    if (indicator != -1) {
      value.append(piece.data(), std::min(length, LongPieceSize));
    }
    if (onPiece) {
      onPiece();
    }
  }
  return true;
}

char* OracleStatement::AllocateAuxiliaryBuffer(std::size_t size) {
  auxiliary_ = std::make_unique<char[]>(std::max<std::size_t>(size, 1));
  auxiliary_[0] = '\0';
  return auxiliary_.get();
}
