// The SQL functions PL/SQL offers without a package: LENGTH, SUBSTR, NVL,
// DECODE, TO_CHAR ... with Oracle's NULL rules (the empty string is NULL,
// LENGTH('') is NULL, DECODE matches NULL with NULL).
#pragma once

#include <string>
#include <vector>

#include "sandbox/plsql/PlError.h"
#include "sandbox/plsql/PlValue.h"
#include "sandbox/server/Server.h"

namespace sandbox::plsql {

struct BuiltinInfo {
  const char* name;
  int minArgs;
  int maxArgs;        // -1: any number
  bool callableBare;  // may be written without parentheses (SQLCODE, SYSDATE)
};

// nullptr when name (upper case) is no built-in function.
const BuiltinInfo* FindBuiltin(const std::string& name);

struct BuiltinContext {
  Session& session;
  const PlError* handledError;  // the exception being handled, for SQLCODE and SQLERRM
};

// Throws PlError for bad arguments (ORA-06502, ORA-01476 ...).
PlValue CallBuiltin(const std::string& name, const std::vector<PlValue>& args,
                    const BuiltinContext& context);

}  // namespace sandbox::plsql
