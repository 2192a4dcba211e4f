// StatementHandle: prepare, bind, define, execute, array fetch and piecewise
// fetch, with the status codes and row counts that a real client reports.
#include "sandbox/oci/StatementHandle.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>

#include "sandbox/oci/AttributeValues.h"
#include "sandbox/oci/ClientErrors.h"
#include "sandbox/oci/ConnectionBreaker.h"
#include "sandbox/oci/ParameterDescriptor.h"
#include "sandbox/oci/PlaceholderScanner.h"
#include "sandbox/oci/RoundTrips.h"
#include "sandbox/oci/ServiceContextHandle.h"
#include "sandbox/oci/StatementBinds.h"

namespace sandbox::oci {
namespace {

// Statements whose text may hold bind placeholders. DDL may not (a trigger
// body's :new and :old are not binds).
bool TakesBinds(ub2 statementType) {
  switch (statementType) {
    case OCI_STMT_SELECT:
    case OCI_STMT_UPDATE:
    case OCI_STMT_DELETE:
    case OCI_STMT_INSERT:
    case OCI_STMT_BEGIN:
    case OCI_STMT_DECLARE:
    case OCI_STMT_CALL:
    case OCI_STMT_MERGE:
      return true;
    default:
      return false;
  }
}

bool IsPlsqlBlock(ub2 statementType) {
  return statementType == OCI_STMT_BEGIN || statementType == OCI_STMT_DECLARE ||
         statementType == OCI_STMT_CALL;
}

}  // namespace

StatementHandle::~StatementHandle() {
  CloseCursor();
}

void StatementHandle::CloseCursor() {
  cursor_.reset();
  cursorConnection_.reset();
  batch_ = {};
  piece_ = {};
  exhausted_ = false;
}

void StatementHandle::Reset() {
  CloseCursor();
  binds_.clear();
  defines_.clear();
  FreeChildren();
  positions_.clear();
  columns_.clear();
  executed_ = false;
  rowCount_ = 0;
}

sword StatementHandle::Prepare(std::string text, ErrorHandle&) {
  Reset();
  text_ = std::move(text);
  kind_ = ClassifyStatement(text_);
  if (TakesBinds(kind_.statementType)) {
    std::vector<std::string> occurrences = ScanPlaceholders(text_);
    if (IsPlsqlBlock(kind_.statementType)) {
      // In a PL/SQL block a name that occurs twice is one position.
      std::set<std::string> seen;
      for (const std::string& name : occurrences) {
        if (seen.insert(name).second)
          positions_.push_back(name);
      }
    } else {
      positions_ = std::move(occurrences);
    }
  }
  prepared_ = true;
  return OCI_SUCCESS;
}

void StatementHandle::AdoptCursor(std::shared_ptr<Connection> connection,
                                  std::unique_ptr<Cursor> cursor) {
  Reset();
  text_.clear();
  prepared_ = true;
  kind_ = ClassifyStatement("SELECT");
  if (!cursor || !connection)
    return;
  columns_ = cursor->Columns();
  executed_ = true;
  cursorConnection_ = std::move(connection);
  cursor_ = std::move(cursor);
  clientRows_ = 0;  // its first fetch travels to the server
}

BindHandle& StatementHandle::BindNamed(const std::string& name, const ClientBuffer& buffer) {
  auto it = binds_.find(name);
  BindHandle* bind = it != binds_.end() ? it->second : &AddChild<BindHandle>(name);
  bind->SetBuffer(buffer);
  binds_[name] = bind;
  return *bind;
}

sword StatementHandle::BindByName(const std::string& placeholder, const ClientBuffer& buffer,
                                  BindHandle*& bind, ErrorHandle& errors) {
  if (!prepared_) {
    errors.Add(errors::StatementNotPrepared());
    return OCI_ERROR;
  }
  std::string name = PlaceholderName(placeholder);
  if (std::find(positions_.begin(), positions_.end(), name) == positions_.end()) {
    errors.Add(errors::IllegalVariableName());
    return OCI_ERROR;
  }
  bind = &BindNamed(name, buffer);
  return OCI_SUCCESS;
}

sword StatementHandle::BindByPosition(ub4 position, const ClientBuffer& buffer, BindHandle*& bind,
                                      ErrorHandle& errors) {
  if (!prepared_) {
    errors.Add(errors::StatementNotPrepared());
    return OCI_ERROR;
  }
  if (position == 0 || position > positions_.size()) {
    errors.Add(errors::IllegalVariableName());
    return OCI_ERROR;
  }
  bind = &BindNamed(positions_[position - 1], buffer);
  return OCI_SUCCESS;
}

sword StatementHandle::Define(ub4 position, const ClientBuffer& buffer, bool dynamic,
                              DefineHandle*& define, ErrorHandle& errors) {
  if (position == 0) {
    errors.Add(errors::VariableNotInSelectList());
    return OCI_ERROR;
  }
  auto it = defines_.find(position);
  DefineHandle* handle = it != defines_.end() ? it->second : &AddChild<DefineHandle>(position);
  handle->Set(buffer, dynamic);
  defines_[position] = handle;
  define = handle;
  return OCI_SUCCESS;
}

bool StatementHandle::AllPlaceholdersBound() const {
  return std::all_of(positions_.begin(), positions_.end(),
                     [this](const std::string& name) { return binds_.count(name) > 0; });
}

sword StatementHandle::Execute(ServiceContextHandle& context, ub4 iterations, ub4 rowOffset,
                               ub4 mode, ErrorHandle& errors) {
  if (!prepared_) {
    errors.Add(errors::StatementNotPrepared());
    return OCI_ERROR;
  }
  std::shared_ptr<Connection> connection;
  OraError error;
  if (!context.UsableConnection(connection, error)) {
    errors.Add(error);
    return OCI_ERROR;
  }
  RoundTrip();
  if (connection->GetSession().TakeInterrupt()) {
    CloseCursor();
    errors.Add(errors::UserCancelled());
    return OCI_ERROR;
  }
  // A query that stopped for a piece goes on where it stopped.
  if (batch_.active && cursor_)
    return ContinueBatch(errors);
  if (kind_.statementType == OCI_STMT_SELECT) {
    // Parsing a query is describing it; fetching needs a real execution.
    if ((mode & OCI_PARSE_ONLY) != 0)
      mode |= OCI_DESCRIBE_ONLY;
    return ExecuteQuery(connection, iterations, mode, errors);
  }
  // The server cannot check other statements without running them, and
  // running them is exactly what parse-only and describe-only must not do.
  if ((mode & (OCI_PARSE_ONLY | OCI_DESCRIBE_ONLY)) != 0) {
    errors.Add(errors::BadModeValue());
    return OCI_ERROR;
  }
  if (iterations == 0) {
    errors.Add(errors::ZeroIterationCount());
    return OCI_ERROR;
  }
  return ExecuteOther(connection, iterations, rowOffset, mode, errors);
}

sword StatementHandle::ExecuteQuery(const std::shared_ptr<Connection>& connection, ub4 iterations,
                                    ub4 mode, ErrorHandle& errors) {
  CloseCursor();
  rowCount_ = 0;
  columns_.clear();
  executed_ = false;
  bool describeOnly = (mode & OCI_DESCRIBE_ONLY) != 0;
  if (!describeOnly && !AllPlaceholdersBound()) {
    errors.Add(errors::NotAllVariablesBound());
    return OCI_ERROR;
  }
  Session& session = connection->GetSession();
  OraError error;
  if (describeOnly) {
    DescribeOnlyBinds binds;
    columns_ = session.DescribeQuery(text_, binds, error);
    if (error.IsSet()) {
      errors.Add(error);
      return OCI_ERROR;
    }
    executed_ = true;
    return OCI_SUCCESS;
  }
  StatementBinds binds(binds_, 0, session);
  std::unique_ptr<Cursor> cursor = session.OpenQuery(text_, binds, error);
  if (!cursor) {
    errors.Add(error.IsSet() ? error : OraError{900, "invalid SQL statement"});
    return OCI_ERROR;
  }
  columns_ = cursor->Columns();
  executed_ = true;
  cursorConnection_ = connection;
  cursor_ = std::move(cursor);
  // The reply to the execute brings the prefetched rows along.
  clientRows_ = PrefetchedRows(iterations);
  if (iterations == 0)
    return OCI_SUCCESS;
  return StartBatch(iterations, errors);
}

sword StatementHandle::ExecuteOther(const std::shared_ptr<Connection>& connection, ub4 iterations,
                                    ub4 rowOffset, ub4 mode, ErrorHandle& errors) {
  CloseCursor();
  rowCount_ = 0;
  columns_.clear();
  executed_ = true;
  if (!AllPlaceholdersBound()) {
    errors.Add(errors::NotAllVariablesBound());
    return OCI_ERROR;
  }
  Session& session = connection->GetSession();
  OraError warning;
  for (ub4 i = 0; i < iterations; ++i) {
    StatementBinds binds(binds_, rowOffset + i, session, connection);
    std::uint64_t processed = 0;
    OraError error;
    OraError iterationWarning;
    bool ok = session.Execute(text_, binds, processed, error, iterationWarning);
    rowCount_ += static_cast<ub4>(processed);
    if (!ok) {
      errors.Add(error.IsSet() ? error : OraError{900, "invalid SQL statement"});
      return OCI_ERROR;
    }
    if (iterationWarning.IsSet())
      warning = iterationWarning;
  }
  if ((mode & OCI_COMMIT_ON_SUCCESS) != 0) {
    DescribeOnlyBinds none;
    std::uint64_t processed = 0;
    OraError error;
    OraError commitWarning;
    if (!session.Execute("COMMIT", none, processed, error, commitWarning)) {
      errors.Add(error);
      return OCI_ERROR;
    }
  }
  if (warning.IsSet()) {
    errors.Add(warning);
    return OCI_SUCCESS_WITH_INFO;
  }
  return OCI_SUCCESS;
}

sword StatementHandle::Fetch(ub4 rows, ub2 orientation, ErrorHandle& errors) {
  if (orientation != OCI_FETCH_NEXT && orientation != OCI_DEFAULT) {
    errors.Add(errors::BadModeValue());
    return OCI_ERROR;
  }
  if (!cursor_) {
    errors.Add(executed_ && kind_.statementType == OCI_STMT_SELECT
                   ? errors::FetchOutOfSequence()
                   : errors::StatementNotExecuted());
    return OCI_ERROR;
  }
  OraError error;
  ConnectionBreaker::Instance().BeforeCall(*cursorConnection_, ConnectionBreaker::Call::Fetch);
  if (!cursorConnection_->Check(error)) {
    errors.Add(error);
    return OCI_ERROR;
  }
  // Rows the client received ahead (prefetch) are handed out without asking
  // the server; a piece of a value always comes from it.
  if (batch_.active || clientRows_ < rows) {
    RoundTrip();
    clientRows_ = batch_.active ? clientRows_ : PrefetchedRows(rows);
  } else {
    clientRows_ -= rows;
  }
  if (cursorConnection_->GetSession().TakeInterrupt()) {
    CloseCursor();
    errors.Add(errors::UserCancelled());
    return OCI_ERROR;
  }
  if (batch_.active)
    return ContinueBatch(errors);
  // Fetching zero rows cancels the cursor.
  if (rows == 0) {
    CloseCursor();
    return OCI_SUCCESS;
  }
  return StartBatch(rows, errors);
}

sword StatementHandle::StartBatch(ub4 rows, ErrorHandle& errors) {
  // After the end has been reported once, Oracle refuses further fetches.
  if (exhausted_) {
    errors.Add(errors::FetchOutOfSequence());
    return OCI_ERROR;
  }
  if (defines_.empty() && !columns_.empty()) {
    errors.Add(errors::DefineNotDone());
    return OCI_ERROR;
  }
  if (!defines_.empty() && defines_.rbegin()->first > columns_.size()) {
    errors.Add(errors::VariableNotInSelectList());
    return OCI_ERROR;
  }
  batch_ = {};
  batch_.active = true;
  batch_.requested = rows;
  return ContinueBatch(errors);
}

sword StatementHandle::ContinueBatch(ErrorHandle& errors) {
  const Session& session = cursorConnection_->GetSession();
  while (batch_.filled < batch_.requested) {
    if (!batch_.rowLoaded) {
      OraError error;
      if (!cursor_->Next(batch_.row, error)) {
        if (error.IsSet()) {
          batch_ = {};
          // A cancelled query is over: the next fetch is out of sequence.
          if (error.code == kCancelledCode)
            CloseCursor();
          errors.Add(error);
          return OCI_ERROR;
        }
        exhausted_ = true;
        break;
      }
      batch_.rowLoaded = true;
      batch_.column = 0;
    }
    for (; batch_.column < columns_.size(); ++batch_.column) {
      auto define = defines_.find(static_cast<ub4>(batch_.column + 1));
      if (define == defines_.end())
        continue;
      const Value null = Value::Null();
      const Value& value = batch_.column < batch_.row.size() ? batch_.row[batch_.column] : null;
      if (define->second->IsDynamic()) {
        sword status = ContinuePiece(*define->second, value, errors);
        if (status == OCI_NEED_DATA)
          return status;
        if (status != OCI_SUCCESS) {
          batch_ = {};
          piece_ = {};
          return status;
        }
        continue;
      }
      StoreOutcome outcome = define->second->Buffer().Store(batch_.filled, value, session);
      if (outcome.error.IsSet()) {
        batch_ = {};
        errors.Add(outcome.error);
        return OCI_ERROR;
      }
      batch_.truncated = batch_.truncated || outcome.truncated;
      batch_.nullWithoutIndicator = batch_.nullWithoutIndicator || outcome.nullWithoutIndicator;
    }
    batch_.rowLoaded = false;
    ++batch_.filled;
    ++rowCount_;
  }
  Batch done = batch_;
  batch_ = {};
  if (done.nullWithoutIndicator) {
    errors.Add(errors::FetchedColumnIsNull());
    return OCI_ERROR;
  }
  if (done.filled < done.requested) {
    errors.Add(errors::NoDataFound());
    return OCI_NO_DATA;
  }
  if (done.truncated) {
    errors.Add(errors::TruncationOrNullFetch());
    return OCI_SUCCESS_WITH_INFO;
  }
  return OCI_SUCCESS;
}

sword StatementHandle::ContinuePiece(DefineHandle& define, const Value& value,
                                     ErrorHandle& errors) {
  if (!piece_.started) {
    // The first fetch only announces the value; the client then names a buffer.
    piece_ = {};
    piece_.started = true;
    piece_.define = &define;
    piece_.isNull = value.IsNull();
    OraError error;
    if (!piece_.isNull &&
        !ClientBuffer::ValueBytes(define.Buffer().Type(), value, cursorConnection_->GetSession(),
                                  piece_.bytes, error)) {
      errors.Add(error);
      return OCI_ERROR;
    }
    define.Piece() = {};
    return OCI_NEED_DATA;
  }
  PieceBuffer buffer = define.Piece();
  define.Piece() = {};
  if (buffer.length == nullptr || (buffer.data == nullptr && *buffer.length > 0)) {
    errors.Add(errors::BadPieceBuffer());
    return OCI_ERROR;
  }
  std::size_t count = std::min<std::size_t>(*buffer.length, piece_.bytes.size() - piece_.offset);
  if (count > 0)
    std::memcpy(buffer.data, piece_.bytes.data() + piece_.offset, count);
  *buffer.length = static_cast<ub4>(count);
  piece_.offset += count;
  piece_.first = false;
  if (buffer.returnCode != nullptr)
    *buffer.returnCode = 0;
  if (buffer.indicator != nullptr) {
    *buffer.indicator = piece_.isNull ? sb2{-1} : sb2{0};
  } else if (piece_.isNull) {
    batch_.nullWithoutIndicator = true;
    if (buffer.returnCode != nullptr)
      *buffer.returnCode = 1405;
  }
  if (piece_.offset < piece_.bytes.size())
    return OCI_NEED_DATA;
  piece_ = {};
  return OCI_SUCCESS;
}

sword StatementHandle::PendingPiece(DefineHandle*& define, ub4& iteration, ub1& piece,
                                    ErrorHandle& errors) const {
  if (!batch_.active || !piece_.started) {
    errors.Add(errors::FetchOutOfSequence());
    return OCI_ERROR;
  }
  define = piece_.define;
  iteration = batch_.filled;
  piece = piece_.first ? OCI_FIRST_PIECE : OCI_NEXT_PIECE;
  return OCI_SUCCESS;
}

sword StatementHandle::Parameter(ub4 position, Handle*& descriptor, ErrorHandle& errors) {
  if (!executed_) {
    errors.Add(errors::StatementNotExecuted());
    return OCI_ERROR;
  }
  if (position == 0 || position > columns_.size()) {
    errors.Add(errors::NoDescriptorForPosition());
    return OCI_ERROR;
  }
  descriptor = &AddChild<ParameterDescriptor>(columns_[position - 1]);
  return OCI_SUCCESS;
}

ub4 StatementHandle::PrefetchedRows(ub4 requested) const {
  std::size_t rowBytes = 0;
  for (const ColumnInfo& column : columns_)
    rowBytes += column.dataSize;
  const std::size_t byMemory = prefetchMemory_ / std::max<std::size_t>(rowBytes, 1);
  const ub4 sent = std::max(
      {requested, prefetchRows_, static_cast<ub4>(std::min<std::size_t>(byMemory, 0xFFFFFFFFu))});
  return sent - requested;
}

sword StatementHandle::GetAttribute(ub4 attribute, void* value, ub4* size, ErrorHandle& errors) {
  switch (attribute) {
    case OCI_ATTR_STMT_TYPE:
      return PutAttribute<ub2>(value, size, kind_.statementType, errors);
    case OCI_ATTR_SQLFNCODE:
      return PutAttribute<ub2>(value, size, kind_.sqlFunctionCode, errors);
    case OCI_ATTR_PARAM_COUNT:
      return PutAttribute<ub4>(value, size, static_cast<ub4>(columns_.size()), errors);
    case OCI_ATTR_ROW_COUNT:
      return PutAttribute<ub4>(value, size, rowCount_, errors);
    case OCI_ATTR_PREFETCH_ROWS:
      return PutAttribute<ub4>(value, size, prefetchRows_, errors);
    case OCI_ATTR_PREFETCH_MEMORY:
      return PutAttribute<ub4>(value, size, prefetchMemory_, errors);
    default:
      return Handle::GetAttribute(attribute, value, size, errors);
  }
}

sword StatementHandle::SetAttribute(ub4 attribute, void* value, ub4 size, ErrorHandle& errors) {
  if (attribute == OCI_ATTR_PREFETCH_ROWS || attribute == OCI_ATTR_PREFETCH_MEMORY) {
    // The rows a round trip brings ahead of the fetches that ask for them.
    if (!TakeAttribute(value,
                       attribute == OCI_ATTR_PREFETCH_ROWS ? prefetchRows_ : prefetchMemory_)) {
      errors.Add(errors::IllegalAttributeValue());
      return OCI_ERROR;
    }
    return OCI_SUCCESS;
  }
  return Handle::SetAttribute(attribute, value, size, errors);
}

}  // namespace sandbox::oci
