// ClientBuffer: the caller-owned memory behind one bind or define (value
// array, indicators, lengths, return codes) and the conversions between the
// server's values and the external data types (SQLT_*) a client asks for.
// Element row of an array lives at value + row * valueSize, as OCI lays out
// arrays without explicit skips; LOB defines are arrays of locator pointers.
#pragma once

#include <string>

#include "oracle/OciApi.h"
#include "sandbox/server/Server.h"

namespace sandbox::oci {

// What storing one value into a client buffer came to.
struct StoreOutcome {
  bool truncated = false;
  bool nullWithoutIndicator = false;
  OraError error;  // a conversion that failed (ORA-01722, ORA-00932, ...)
};

class ClientBuffer {
 public:
  ClientBuffer() = default;
  ClientBuffer(void* value, sb4 valueSize, ub2 type, void* indicator, ub2* length, ub2* returnCode);

  // Whether type can be bound (or defined) with elements of valueSize bytes.
  static bool SupportsType(ub2 type, sb4 valueSize);
  // Types whose value can be handed over in pieces.
  static bool SupportsPieces(ub2 type);

  ub2 Type() const { return type_; }
  // The client's statement handle of an SQLT_RSET bind (its value points at
  // an OCIStmt pointer); null for other types.
  void* BoundStatement() const;

  // The IN value of element row.
  Value Read(ub4 row) const;
  // Writes value into element row with its indicator, length and return code:
  // -1 for NULL, the full length and code 1406 for a truncated value.
  StoreOutcome Store(ub4 row, const Value& value, const Session& session) const;

  // The bytes that a value of external type `type` consists of: the session's
  // character form for character types, the raw bytes for binary types.
  static bool ValueBytes(ub2 type, const Value& value, const Session& session, std::string& bytes,
                         OraError& error);

 private:
  void* ValueAt(ub4 row) const;
  void SetIndicator(ub4 row, sb2 value) const;
  void SetLength(ub4 row, std::size_t value) const;
  void SetReturnCode(ub4 row, ub2 value) const;

  void* value_ = nullptr;
  sb4 valueSize_ = 0;
  ub2 type_ = 0;
  sb2* indicator_ = nullptr;
  ub2* length_ = nullptr;
  ub2* returnCode_ = nullptr;
};

}  // namespace sandbox::oci
