// Entry point of the PL/SQL interpreter (first version: rejects every block).
#include "sandbox/plsql/Interpreter.h"

namespace sandbox::plsql {

bool RunAnonymousBlock(Session& /*session*/, const std::string& /*blockText*/, BindSet& /*binds*/,
                       OraError& error) {
  error.code = 6550;
  error.message = "line 1, column 1:\nPLS-00103: PL/SQL blocks are not supported yet";
  return false;
}

}  // namespace sandbox::plsql
