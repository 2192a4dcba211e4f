// The names a view's query or a stored unit's text uses. The objects they
// resolve to become the unit's dependencies; in PL/SQL a procedure called,
// an anchor (%TYPE, %ROWTYPE) or a table read that resolves to nothing gives
// the error Oracle's compiler gives for it. Names are found by their place
// in the text (a statement's first name, the table of FROM, JOIN, INSERT
// INTO, UPDATE, DELETE ...), so a name declared anywhere in the unit is
// taken for the declaration rather than reported.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "sandbox/server/ddl/CompilationErrors.h"
#include "sandbox/server/dictionary/Catalog.h"
#include "sandbox/server/dictionary/Dependencies.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

struct UnitReferences {
  std::vector<ObjectRef> objects;
  std::vector<CompilationError> errors;  // in the order Oracle lists them
};

// The tokens to read and where the stored text begins (error positions are
// lines and columns of that text).
struct UnitText {
  const std::string& sql;
  const std::vector<SqlToken>& tokens;
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t textOffset = 0;
};

// Names declared in the text: variables, parameters, constants, exceptions,
// routines, cursors, types, loop indexes and the query names of WITH.
std::set<std::string> DeclaredNames(const std::vector<SqlToken>& tokens, std::size_t begin,
                                    std::size_t end);

// What the text refers to, seen from schema owner. checkNames reports the
// names that resolve to nothing (PL/SQL code); declared holds names declared
// elsewhere (a package body sees its specification's).
UnitReferences FindReferences(Catalog& catalog, const std::string& owner, const UnitText& text,
                              bool checkNames, const std::set<std::string>& declared);

}  // namespace sandbox
