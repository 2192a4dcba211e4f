// Object and collection types: the declaration of CREATE [OR REPLACE]
// TYPE (forward declarations, AS OBJECT, UNDER a supertype, AS TABLE OF,
// AS VARRAY(n) OF) read into ALL_TYPES, ALL_TYPE_ATTRS, ALL_TYPE_METHODS and
// ALL_COLL_TYPES, and the removal of those rows when the type goes. The
// source is kept by StoredUnitDdl as for every stored unit.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sandbox/server/ddl/CompilationErrors.h"
#include "sandbox/server/ddl/DdlExecutor.h"
#include "sandbox/server/sql/TokenStream.h"
#include "sandbox/server/values/OracleType.h"

namespace sandbox {

class TypeDdl {
 public:
  // Reads the declaration from the token after the type's name; the
  // stored text starts at token textBegin.
  TypeDdl(DdlContext& context, std::size_t textBegin, std::size_t afterName)
      : context_(context), in_(context.tokens, afterName), textBegin_(textBegin) {}
  // Writes the type's rows (replacing earlier ones); a declaration that
  // names a missing type or does not parse gives compile errors instead, as
  // Oracle stores such a type with errors. error is set for statements
  // Oracle refuses.
  bool Define(const std::string& owner, const std::string& name, bool replace,
              std::vector<CompilationError>& compileErrors, OraError& error);
  // ORA-02303 when a type, table or column is built on the type.
  static bool CheckNoDependents(Catalog& catalog, const std::string& owner, const std::string& name,
                                OraError& error);
  static bool RemoveRows(Catalog& catalog, const std::string& owner, const std::string& name,
                         OraError& error);

 private:
  struct Attribute {
    std::string name;
    OracleType type;
    bool ref = false;
  };
  struct Method {
    std::string name;
    std::string kind = "PUBLIC";  // METHOD_TYPE: PUBLIC, MAP or ORDER
    int parameters = 0;
    bool function = false;
    bool final = false, instantiable = true, overriding = false;
  };

  bool ReadObjectBody(std::vector<Attribute>& attributes, std::vector<Method>& methods,
                      OraError& error);
  bool ReadMethod(Method& method, OraError& error);
  bool ReadElementType(Attribute& element, OraError& error);
  void ReadTypeModifiers(bool& final, bool& instantiable);
  bool WriteObject(const std::string& owner, const std::string& name,
                   const std::vector<Attribute>& attributes, const std::vector<Method>& methods,
                   const std::string& superOwner, const std::string& superName, bool final,
                   bool instantiable, OraError& error);
  bool WriteCollection(const std::string& owner, const std::string& name,
                       const std::string& collType, std::optional<long long> bound,
                       const Attribute& element, OraError& error);
  // Define, up to the first syntax error of the text.
  bool DefineFromText(const std::string& owner, const std::string& name, bool replace,
                      std::vector<CompilationError>& compileErrors, OraError& error);
  bool ReadTypeOf(OracleType& type, OraError& error);
  // A type named but not defined: PLS-00201 at the token where it is named.
  CompilationError MissingTypeError() const;

  DdlContext& context_;
  TokenStream in_;
  std::size_t textBegin_;
  // Where the first reference to a missing type was read, if any.
  std::size_t missingAt_ = 0;
  std::string missingName_;
};

}  // namespace sandbox
