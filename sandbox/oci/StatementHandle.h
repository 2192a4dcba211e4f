// StatementHandle: one OCI statement from prepare to its last fetch. It keeps
// the text and its placeholders, the bind and define handles, the open cursor
// of a query with the connection it reads from, the cumulative row count, and
// the state of a batch that stopped to hand a value over in pieces.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sandbox/oci/BindHandle.h"
#include "sandbox/oci/ClientBuffer.h"
#include "sandbox/oci/Connection.h"
#include "sandbox/oci/DefineHandle.h"
#include "sandbox/oci/ErrorHandle.h"
#include "sandbox/oci/Handle.h"
#include "sandbox/server/Server.h"

namespace sandbox::oci {

class ServiceContextHandle;

class StatementHandle : public Handle {
 public:
  static constexpr ub4 kType = OCI_HTYPE_STMT;
  StatementHandle(Handle* parent, std::size_t userMemorySize)
      : Handle(kType, parent, userMemorySize) {}
  ~StatementHandle() override;

  sword Prepare(std::string text, ErrorHandle& errors);
  sword BindByName(const std::string& placeholder, const ClientBuffer& buffer, BindHandle*& bind,
                   ErrorHandle& errors);
  sword BindByPosition(ub4 position, const ClientBuffer& buffer, BindHandle*& bind,
                       ErrorHandle& errors);
  sword Define(ub4 position, const ClientBuffer& buffer, bool dynamic, DefineHandle*& define,
               ErrorHandle& errors);
  sword Execute(ServiceContextHandle& context, ub4 iterations, ub4 rowOffset, ub4 mode,
                ErrorHandle& errors);
  sword Fetch(ub4 rows, ub2 orientation, ErrorHandle& errors);

  // The statement becomes the query a PL/SQL cursor variable handed to its
  // SQLT_RSET bind, read through connection; a null cursor (never opened)
  // leaves it unexecuted.
  void AdoptCursor(std::shared_ptr<Connection> connection, std::unique_ptr<Cursor> cursor);

  // OCIStmtGetPieceInfo: the define waiting for a piece buffer.
  sword PendingPiece(DefineHandle*& define, ub4& iteration, ub1& piece, ErrorHandle& errors) const;
  sword Parameter(ub4 position, Handle*& descriptor, ErrorHandle& errors);

  sword GetAttribute(ub4 attribute, void* value, ub4* size, ErrorHandle& errors) override;
  sword SetAttribute(ub4 attribute, void* value, ub4 size, ErrorHandle& errors) override;

 private:
  // Rows of one OCIStmtFetch (or of an executing query) being stored.
  struct Batch {
    bool active = false;
    ub4 requested = 0;
    ub4 filled = 0;
    bool rowLoaded = false;
    std::vector<Value> row;
    std::size_t column = 0;
    bool truncated = false;
    bool nullWithoutIndicator = false;
  };
  // The value of a dynamically defined column being handed over.
  struct PieceState {
    bool started = false;
    bool first = true;
    bool isNull = false;
    DefineHandle* define = nullptr;
    std::string bytes;
    std::size_t offset = 0;
  };

  sword ExecuteQuery(const std::shared_ptr<Connection>& connection, ub4 iterations, ub4 mode,
                     ErrorHandle& errors);
  sword ExecuteOther(const std::shared_ptr<Connection>& connection, ub4 iterations, ub4 rowOffset,
                     ub4 mode, ErrorHandle& errors);
  sword StartBatch(ub4 rows, ErrorHandle& errors);
  sword ContinueBatch(ErrorHandle& errors);
  sword ContinuePiece(DefineHandle& define, const Value& value, ErrorHandle& errors);
  BindHandle& BindNamed(const std::string& name, const ClientBuffer& buffer);
  bool AllPlaceholdersBound() const;
  void CloseCursor();
  // Rows beyond requested that one round trip brings, by the prefetch
  // attributes (memory over the described row size).
  ub4 PrefetchedRows(ub4 requested) const;
  void Reset();

  std::string text_;
  bool prepared_ = false;
  StatementKind kind_;
  std::vector<std::string> positions_;  // placeholder name of each bind position
  std::map<std::string, BindHandle*> binds_;
  std::map<ub4, DefineHandle*> defines_;
  std::vector<ColumnInfo> columns_;
  bool executed_ = false;
  ub4 rowCount_ = 0;
  ub4 prefetchRows_ = 1;
  ub4 prefetchMemory_ = 0;
  // Rows that a simulated round trip brought beyond those asked for.
  ub4 clientRows_ = 0;
  // Declared before the cursor so that the cursor is destroyed first.
  std::shared_ptr<Connection> cursorConnection_;
  std::unique_ptr<Cursor> cursor_;
  bool exhausted_ = false;
  Batch batch_;
  PieceState piece_;
};

}  // namespace sandbox::oci
