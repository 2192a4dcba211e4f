// Declared data types of columns, attributes and collection elements.
#include "sandbox/server/ddl/TypeDeclaration.h"

#include "sandbox/server/ddl/DateTimeTypeDdl.h"

namespace sandbox {

std::optional<UserTypeKind> FindUserType(Catalog& catalog, const std::string& owner,
                                         const std::string& name) {
  const auto rows = catalog.Rows(
      "SELECT t.TYPECODE, c.COLL_TYPE, t.INCOMPLETE FROM \"SYS.ALL_TYPES\" t LEFT JOIN "
      "\"SYS.ALL_COLL_TYPES\" c ON c.OWNER = t.OWNER AND c.TYPE_NAME = t.TYPE_NAME "
      "WHERE t.OWNER = ? AND t.TYPE_NAME = ?",
      {Value::Text(owner), Value::Text(name)});
  if (rows.empty())
    return std::nullopt;
  return UserTypeKind{rows[0][0], rows[0][1], rows[0][2] == "YES"};
}

bool ReadBuiltinType(TokenStream& in, OracleType& type, OraError& error) {
  const SqlToken& t = in.Peek();
  if (t.type != SqlToken::Type::Word) {
    error = {902, "invalid datatype"};
    return false;
  }
  std::string name = t.Upper();
  in.Skip();
  if (name == "TIMESTAMP" || name == "INTERVAL")
    return ReadDateTimeType(in, name, type, error);
  if (name == "LONG" && in.AcceptWord("RAW"))
    name = "LONG RAW";
  if (name == "DOUBLE" && in.AcceptWord("PRECISION"))
    name = "DOUBLE PRECISION";
  if (name == "CHARACTER" && in.AcceptWord("VARYING"))
    name = "VARCHAR2";
  std::optional<int> first, second;
  bool charSemantics = false;
  if (in.AcceptSymbol("(")) {
    long long value = 0;
    if (in.AcceptSymbol("*")) {
      // NUMBER(*, s): the greatest precision, which the dictionary leaves NULL
    } else {
      if (!in.ReadInteger(value, error))
        return false;
      first = static_cast<int>(value);
    }
    if (in.AcceptSymbol(",")) {
      if (!in.ReadInteger(value, error))
        return false;
      second = static_cast<int>(value);
    }
    in.AcceptWord("BYTE");
    charSemantics = in.AcceptWord("CHAR");
    if (!in.ExpectSymbol(")", error))
      return false;
  }
  const auto parsed = OracleType::FromDeclaration(name, first, second, charSemantics);
  if (!parsed) {
    if ((name == "VARCHAR2" || name == "VARCHAR" || name == "RAW") && !first)
      error = {906, "missing left parenthesis"};
    else if (first && (name.find("CHAR") != std::string::npos || name == "RAW"))
      error = {910, "specified length too long for its datatype"};
    else
      error = {902, "invalid datatype"};
    return false;
  }
  type = *parsed;
  return true;
}

bool ReadDeclaredType(TokenStream& in, Catalog& catalog, const std::string& defaultOwner,
                      OracleType& type, OraError& error) {
  const SqlToken& first = in.Peek();
  if (first.type == SqlToken::Type::Word || first.type == SqlToken::Type::QuotedName) {
    // A qualified name, or a name the schema holds a type of, is a user
    // type; anything else is read as a built-in type.
    const std::size_t start = in.Position();
    std::string owner, name;
    OraError ignored;
    const bool qualified = in.Peek(1).IsSymbol(".");
    if (in.ReadQualifiedName(owner, name, defaultOwner, ignored) &&
        (qualified || FindUserType(catalog, owner, name))) {
      if (!FindUserType(catalog, owner, name)) {
        error = {902, "invalid datatype"};
        return false;
      }
      type = OracleType{};
      type.name = name;
      type.typeOwner = owner;
      return true;
    }
    in.Seek(start);
  }
  return ReadBuiltinType(in, type, error);
}

}  // namespace sandbox
