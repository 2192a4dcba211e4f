// Stored PL/SQL units and triggers: CREATE [OR REPLACE] PROCEDURE, FUNCTION,
// PACKAGE [BODY], TYPE [BODY] and TRIGGER, kept in ALL_SOURCE line by line
// (and triggers in ALL_TRIGGERS, header and body apart), their DROP and
// ALTER ... COMPILE / ENABLE / DISABLE.
#pragma once

#include "sandbox/server/ddl/DdlExecutor.h"
#include "sandbox/server/ddl/UnitReferences.h"
#include "sandbox/server/sql/TokenStream.h"

namespace sandbox {

class StoredUnitDdl {
 public:
  explicit StoredUnitDdl(DdlContext& context) : context_(context), in_(context.tokens, 1) {}
  // warning is ORA-24344 when the unit is stored with compilation errors.
  bool Create(OraError& error, OraError& warning);
  bool Drop(OraError& error);
  bool Alter(OraError& error, OraError& warning);

 private:
  bool ReadUnitType(std::string& type, OraError& error);
  bool StoreSource(const std::string& owner, const std::string& name, const std::string& type,
                   std::size_t textBegin, OraError& error);
  // False, with the unit made INVALID and its errors listed, when the
  // interpreter finds an error in its code that the checks of the text did
  // not (a call with wrong arguments, a subprogram a body lacks ...); error
  // is set only when the dictionary cannot be written.
  bool InterpreterCompiles(const std::string& owner, const std::string& name,
                           const std::string& type, OraError& error);
  bool CreateTrigger(const std::string& owner, const std::string& name, bool replace,
                     std::size_t textBegin, OraError& error, OraError& warning);
  // The unit's references: its dependencies and the names it lacks.
  UnitReferences References(const std::string& owner, const std::string& name,
                            const std::string& type, std::size_t scanBegin, std::size_t textBegin);
  bool RemoveUnit(const std::string& owner, const std::string& name, const std::string& type,
                  OraError& error);

  DdlContext& context_;
  TokenStream in_;
};

}  // namespace sandbox
