// The declaration of object and collection types and its dictionary rows.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "sandbox/server/ddl/TypeDdl.h"

#include "sandbox/server/ServerSession.h"
#include "sandbox/server/ddl/TypeDeclaration.h"

namespace sandbox {

namespace {

std::string YesNo(bool value) {
  return value ? "YES" : "NO";
}

Value OptionalInteger(const std::optional<int>& value) {
  return value ? Value::Integer(*value) : Value::Null();
}

// LENGTH, PRECISION, SCALE, CHARACTER_SET_NAME and CHAR_USED of an attribute
// or element type, as ALL_TYPE_ATTRS and ALL_COLL_TYPES show them.
std::vector<Value> TypeFigures(const OracleType& type) {
  const bool national = type.name == "NVARCHAR2" || type.name == "NCHAR" || type.name == "NCLOB";
  const bool character =
      national || type.name == "VARCHAR2" || type.name == "CHAR" || type.name == "CLOB";
  const bool sized = type.name == "VARCHAR2" || type.name == "CHAR" || type.name == "NVARCHAR2" ||
                     type.name == "NCHAR" || type.name == "RAW";
  return {sized ? Value::Integer(type.charUsed ? type.charLength : type.length) : Value::Null(),
          OptionalInteger(type.precision), OptionalInteger(type.scale),
          character ? Value::Text(national ? "NCHAR_CS" : "CHAR_CS") : Value::Null(),
          type.charUsed ? Value::Text(std::string(1, type.charUsed)) : Value::Null()};
}

}  // namespace

bool TypeDdl::ReadTypeOf(OracleType& type, OraError& error) {
  const std::size_t at = in_.Position();
  const std::string owner = context_.session.CurrentSchema();
  if (ReadDeclaredType(in_, context_.catalog, owner, type, error))
    return true;
  // A name that is neither built in nor a type of the schema: Oracle keeps
  // the type with a compile error naming it.
  const SqlToken& named = context_.tokens[at];
  if (error.code != 902 || named.type == SqlToken::Type::Symbol)
    return false;
  if (missingName_.empty()) {
    missingAt_ = at;
    missingName_ = named.type == SqlToken::Type::Word ? named.Upper() : named.text;
  }
  in_.Seek(at + 1);
  if (in_.AcceptSymbol("."))
    in_.Skip();
  type = OracleType{};
  return true;
}

CompilationError TypeDdl::MissingTypeError() const {
  const std::size_t base = context_.tokens[textBegin_].offset;
  CompilationError missing;
  LineAndColumn(context_.sql.substr(base), context_.tokens[missingAt_].offset - base, missing.line,
                missing.position);
  missing.number = 201;
  missing.text = "PLS-00201: identifier '" + missingName_ + "' must be declared";
  return missing;
}

bool TypeDdl::ReadElementType(Attribute& element, OraError& error) {
  element.ref = in_.AcceptWord("REF");
  if (!ReadTypeOf(element.type, error))
    return false;
  if (element.ref && !element.type.IsUserDefined() && missingName_.empty()) {
    error = {22863, "missing ELEMENT type information"};
    return false;
  }
  return true;
}

void TypeDdl::ReadTypeModifiers(bool& final, bool& instantiable) {
  for (;;) {
    const bool negated = in_.AcceptWord("NOT");
    if (in_.AcceptWord("FINAL"))
      final = !negated;
    else if (in_.AcceptWord("INSTANTIABLE"))
      instantiable = !negated;
    else if (!in_.AcceptWord("PERSISTABLE")) {
      if (negated)  // "NOT" alone: left for the caller to refuse
        in_.Seek(in_.Position() - 1);
      return;
    }
  }
}

// [modifiers] {MEMBER | STATIC | MAP MEMBER | ORDER MEMBER | CONSTRUCTOR}
// {FUNCTION | PROCEDURE} name [(parameters)] [RETURN ...], up to the next
// "," or ")" of the body.
bool TypeDdl::ReadMethod(Method& method, OraError& error) {
  bool implicitSelf = true;
  for (;;) {
    const bool negated = in_.AcceptWord("NOT");
    if (in_.AcceptWord("OVERRIDING"))
      method.overriding = !negated;
    else if (in_.AcceptWord("FINAL"))
      method.final = !negated;
    else if (in_.AcceptWord("INSTANTIABLE"))
      method.instantiable = !negated;
    else if (negated) {
      error = {905, "missing keyword"};
      return false;
    } else
      break;
  }
  if (in_.AcceptWord("MAP"))
    method.kind = "MAP";
  else if (in_.AcceptWord("ORDER"))
    method.kind = "ORDER";
  if (in_.AcceptWord("STATIC"))
    implicitSelf = false;
  else if (!in_.AcceptWord("MEMBER") && !in_.AcceptWord("CONSTRUCTOR")) {
    error = {905, "missing keyword"};
    return false;
  }
  method.function = in_.AcceptWord("FUNCTION");
  if (!method.function && !in_.ExpectWord("PROCEDURE", error))
    return false;
  if (!in_.ReadName(method.name, error, 904, "invalid identifier"))
    return false;
  if (in_.Peek().IsSymbol("(")) {
    const std::size_t close = in_.MatchingParen();
    if (close >= context_.tokens.size()) {
      error = {907, "missing right parenthesis"};
      return false;
    }
    int depth = 0;
    ++method.parameters;
    for (std::size_t i = in_.Position() + 1; i < close; ++i) {
      const SqlToken& t = context_.tokens[i];
      depth += t.IsSymbol("(") ? 1 : t.IsSymbol(")") ? -1 : 0;
      if (depth == 0 && t.IsSymbol(","))
        ++method.parameters;
      // SELF written out is counted where it stands.
      if (i == in_.Position() + 1 || context_.tokens[i - 1].IsSymbol(","))
        implicitSelf = implicitSelf && !(depth == 0 && t.IsWord("SELF"));
    }
    in_.Seek(close + 1);
  }
  if (implicitSelf)
    ++method.parameters;
  // The rest (RETURN type, SELF AS RESULT, DETERMINISTIC ...) is not kept.
  int depth = 0;
  while (!in_.AtEnd() && !(depth == 0 && (in_.Peek().IsSymbol(",") || in_.Peek().IsSymbol(")")))) {
    depth += in_.Peek().IsSymbol("(") ? 1 : in_.Peek().IsSymbol(")") ? -1 : 0;
    in_.Skip();
  }
  return true;
}

bool TypeDdl::ReadObjectBody(std::vector<Attribute>& attributes, std::vector<Method>& methods,
                             OraError& error) {
  if (!in_.ExpectSymbol("(", error))
    return false;
  do {
    const SqlToken& t = in_.Peek();
    if (t.IsWord("PRAGMA")) {
      in_.Skip();
      if (in_.Peek().IsWord("RESTRICT_REFERENCES") || in_.Peek().IsSymbol("(")) {
        in_.Skip(in_.Peek().IsSymbol("(") ? 0 : 1);
        if (in_.Peek().IsSymbol("("))
          in_.Seek(in_.MatchingParen() + 1);
      }
      continue;
    }
    if (t.IsWord("MEMBER") || t.IsWord("STATIC") || t.IsWord("MAP") || t.IsWord("ORDER") ||
        t.IsWord("CONSTRUCTOR") || t.IsWord("OVERRIDING") || t.IsWord("FINAL") || t.IsWord("NOT") ||
        t.IsWord("INSTANTIABLE")) {
      Method method;
      if (!ReadMethod(method, error))
        return false;
      methods.push_back(method);
      continue;
    }
    if (!methods.empty()) {
      // Oracle wants every attribute before the first method.
      error = {905, "missing keyword"};
      return false;
    }
    Attribute attribute;
    if (!in_.ReadName(attribute.name, error, 904, "invalid identifier") ||
        !ReadElementType(attribute, error))
      return false;
    for (const Attribute& earlier : attributes)
      if (earlier.name == attribute.name) {
        error = {957, "duplicate column name"};
        return false;
      }
    attributes.push_back(attribute);
  } while (in_.AcceptSymbol(","));
  return in_.ExpectSymbol(")", error);
}

bool TypeDdl::Define(const std::string& owner, const std::string& name, bool replace,
                     std::vector<CompilationError>& compileErrors, OraError& error) {
  if (DefineFromText(owner, name, replace, compileErrors, error))
    return true;
  // Past its name a type's text is compiled as PL/SQL: Oracle stores a type
  // whose text does not parse, with the syntax error, instead of refusing it.
  if (error.code < 900 || error.code > 999)
    return false;
  CompilationError syntax;
  const std::size_t at = in_.AtEnd() ? context_.sql.size() : in_.Peek().offset;
  LineAndColumn(context_.sql.substr(context_.tokens[textBegin_].offset),
                at - context_.tokens[textBegin_].offset, syntax.line, syntax.position);
  syntax.number = 103;
  syntax.text = "PLS-00103: Encountered the symbol \"" +
                (in_.AtEnd() ? std::string("end-of-file") : in_.Peek().text) +
                "\" when expecting one of the following:\n\n   " +
                (error.code == 906   ? "("
                 : error.code == 907 ? ")"
                                     : ";");
  compileErrors.assign(1, syntax);
  error = {};
  return RemoveRows(context_.catalog, owner, name, error);
}

bool TypeDdl::DefineFromText(const std::string& owner, const std::string& name, bool replace,
                             std::vector<CompilationError>& compileErrors, OraError& error) {
  Catalog& catalog = context_.catalog;
  const auto existing = FindUserType(catalog, owner, name);
  // Replacing a type that others are built on is refused, as Oracle does
  // without FORCE; completing a forward declaration is not a replacement.
  if (existing && !existing->incomplete && replace &&
      !CheckNoDependents(catalog, owner, name, error))
    return false;
  in_.AcceptWord("FORCE");
  if (in_.AcceptWord("OID")) {
    if (in_.Peek().type != SqlToken::Type::String) {
      error = {905, "missing keyword"};
      return false;
    }
    in_.Skip();
  }
  if (in_.AtEnd() || in_.Peek().IsSymbol(";")) {
    // A forward declaration: an incomplete object type. One that exists
    // already stays as it is.
    if (existing)
      return true;
    return catalog.Exec(
        "INSERT INTO \"SYS.ALL_TYPES\" VALUES (?, ?, upper(hex(randomblob(16))), 'OBJECT', 0, 0, "
        "'NO', 'YES', 'YES', 'YES', 'YES', NULL, NULL, NULL, NULL, NULL)",
        {Value::Text(owner), Value::Text(name)}, error);
  }
  if (in_.AcceptWord("AUTHID") && !in_.AcceptWord("DEFINER") && !in_.AcceptWord("CURRENT_USER")) {
    error = {905, "missing keyword"};
    return false;
  }
  std::vector<Attribute> attributes;
  std::vector<Method> methods;
  std::string superOwner, superName;
  bool final = true, instantiable = true;
  bool done = false;
  if (in_.AcceptWord("UNDER")) {
    const std::size_t at = in_.Position();
    if (!in_.ReadQualifiedName(superOwner, superName, context_.session.CurrentSchema(), error, 902,
                               "invalid datatype"))
      return false;
    const auto super = FindUserType(catalog, superOwner, superName);
    if (!super || super->typecode != "OBJECT" || super->incomplete) {
      missingAt_ = at;
      missingName_ = superName;
    } else if (catalog.Any("SELECT 1 FROM \"SYS.ALL_TYPES\" WHERE OWNER = ? AND TYPE_NAME = ? AND "
                           "FINAL = 'YES'",
                           {Value::Text(superOwner), Value::Text(superName)})) {
      CompilationError finalSuper;
      LineAndColumn(context_.sql.substr(context_.tokens[textBegin_].offset),
                    context_.tokens[at].offset - context_.tokens[textBegin_].offset,
                    finalSuper.line, finalSuper.position);
      finalSuper.number = 590;
      finalSuper.text = "PLS-00590: attempting to create a subtype UNDER a FINAL type";
      compileErrors.push_back(finalSuper);
    }
    if (!ReadObjectBody(attributes, methods, error))
      return false;
    done = true;
  } else if (!in_.AcceptWord("AS") && !in_.AcceptWord("IS")) {
    error = {905, "missing keyword"};
    return false;
  }
  std::string collType;
  std::optional<long long> bound;
  Attribute element;
  if (!done) {
    if (in_.AcceptWord("OBJECT")) {
      if (!ReadObjectBody(attributes, methods, error))
        return false;
    } else if (in_.AcceptWord("TABLE")) {
      collType = "TABLE";
    } else if (in_.AcceptWord("VARRAY") || in_.AcceptWords("VARYING", "ARRAY")) {
      collType = "VARYING ARRAY";
      long long limit = 0;
      if (!in_.ExpectSymbol("(", error) || !in_.ReadInteger(limit, error) ||
          !in_.ExpectSymbol(")", error))
        return false;
      bound = limit;
    } else {
      error = {905, "missing keyword"};
      return false;
    }
    if (!collType.empty()) {
      if (!in_.ExpectWord("OF", error) || !ReadElementType(element, error))
        return false;
      in_.AcceptWords("NOT", "NULL");
      if (in_.Peek().IsWord("INDEX")) {
        // An index-by table exists only in PL/SQL.
        compileErrors.push_back(
            {1, 1, 355, "PLS-00355: use of pl/sql table not allowed in this context"});
        return RemoveRows(catalog, owner, name, error);
      }
    }
  }
  ReadTypeModifiers(final, instantiable);
  in_.AcceptSymbol(";");
  if (!in_.AtEnd()) {
    CompilationError trailing;
    LineAndColumn(context_.sql.substr(context_.tokens[textBegin_].offset),
                  in_.Peek().offset - context_.tokens[textBegin_].offset, trailing.line,
                  trailing.position);
    trailing.number = 103;
    trailing.text = "PLS-00103: Encountered the symbol \"" + in_.Peek().text +
                    "\" when expecting one of the following:\n\n   ;";
    compileErrors.push_back(trailing);
  }
  if (!missingName_.empty())
    compileErrors.insert(compileErrors.begin(), MissingTypeError());
  if (!RemoveRows(catalog, owner, name, error))
    return false;
  if (!compileErrors.empty())
    return true;
  if (!collType.empty())
    return WriteCollection(owner, name, collType, bound, element, error);
  return WriteObject(owner, name, attributes, methods, superOwner, superName, final, instantiable,
                     error);
}

bool TypeDdl::WriteObject(const std::string& owner, const std::string& name,
                          const std::vector<Attribute>& attributes,
                          const std::vector<Method>& methods, const std::string& superOwner,
                          const std::string& superName, bool final, bool instantiable,
                          OraError& error) {
  Catalog& catalog = context_.catalog;
  const std::vector<Value> key{Value::Text(owner), Value::Text(name)};
  long long attrNo = 0, methodNo = 0;
  if (!superName.empty()) {
    // A subtype has its supertype's attributes and methods first.
    const std::vector<Value> superKey{Value::Text(superOwner), Value::Text(superName)};
    if (!catalog.Exec(
            "INSERT INTO \"SYS.ALL_TYPE_ATTRS\" SELECT ?3, ?4, ATTR_NAME, ATTR_TYPE_MOD, "
            "ATTR_TYPE_OWNER, ATTR_TYPE_NAME, LENGTH, PRECISION, SCALE, CHARACTER_SET_NAME, "
            "ATTR_NO, 'YES', CHAR_USED FROM \"SYS.ALL_TYPE_ATTRS\" WHERE OWNER = ?1 AND "
            "TYPE_NAME = ?2",
            {superKey[0], superKey[1], key[0], key[1]}, error) ||
        !catalog.Exec(
            "INSERT INTO \"SYS.ALL_TYPE_METHODS\" SELECT ?3, ?4, METHOD_NAME, METHOD_NO, "
            "METHOD_TYPE, PARAMETERS, RESULTS, FINAL, INSTANTIABLE, OVERRIDING, 'YES' FROM "
            "\"SYS.ALL_TYPE_METHODS\" WHERE OWNER = ?1 AND TYPE_NAME = ?2",
            {superKey[0], superKey[1], key[0], key[1]}, error))
      return false;
    const auto counts = catalog.Rows(
        "SELECT ATTRIBUTES, METHODS FROM \"SYS.ALL_TYPES\" WHERE OWNER = ? AND TYPE_NAME = ?",
        superKey);
    attrNo = counts.empty() ? 0 : std::stoll(counts[0][0]);
    methodNo = counts.empty() ? 0 : std::stoll(counts[0][1]);
  }
  const long long inherited = attrNo, inheritedMethods = methodNo;
  for (const Attribute& attribute : attributes) {
    std::vector<Value> row{
        key[0],
        key[1],
        Value::Text(attribute.name),
        attribute.ref ? Value::Text("REF") : Value::Null(),
        attribute.type.IsUserDefined() ? Value::Text(attribute.type.typeOwner) : Value::Null(),
        Value::Text(attribute.type.name)};
    for (Value& figure : TypeFigures(attribute.type))
      row.push_back(std::move(figure));
    row.push_back(Value::Integer(++attrNo));
    if (!catalog.Exec("INSERT INTO \"SYS.ALL_TYPE_ATTRS\" VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, "
                      "?9, ?10, ?12, 'NO', ?11)",
                      row, error))
      return false;
  }
  for (const Method& method : methods)
    if (!catalog.Exec(
            "INSERT INTO \"SYS.ALL_TYPE_METHODS\" VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, "
            "?, 'NO')",
            {key[0], key[1], Value::Text(method.name), Value::Integer(++methodNo),
             Value::Text(method.kind), Value::Integer(method.parameters),
             Value::Integer(method.function ? 1 : 0), Value::Text(YesNo(method.final)),
             Value::Text(YesNo(method.instantiable)), Value::Text(YesNo(method.overriding))},
            error))
      return false;
  const bool subtype = !superName.empty();
  // A type of a hierarchy has a TYPEID: 01 for its root, the next number for
  // each subtype; a FINAL type outside any has none.
  Value typeId = final ? Value::Null() : Value::Text("01");
  if (subtype) {
    const auto taken = catalog.Rows(
        "WITH RECURSIVE up(o, n, depth) AS (SELECT ?1, ?2, 0 UNION ALL SELECT t.SUPERTYPE_OWNER, "
        "t.SUPERTYPE_NAME, up.depth + 1 FROM up JOIN \"SYS.ALL_TYPES\" t ON t.OWNER = up.o AND "
        "t.TYPE_NAME = up.n WHERE t.SUPERTYPE_NAME IS NOT NULL AND up.depth < 64), "
        "down(o, n, level) AS (SELECT o, n, 0 FROM (SELECT o, n FROM up ORDER BY depth DESC "
        "LIMIT 1) UNION ALL SELECT t.OWNER, t.TYPE_NAME, down.level + 1 FROM down JOIN "
        "\"SYS.ALL_TYPES\" t ON t.SUPERTYPE_OWNER = down.o AND t.SUPERTYPE_NAME = down.n WHERE "
        "down.level < 64) SELECT rawtohex(t.TYPEID) FROM down JOIN \"SYS.ALL_TYPES\" t ON t.OWNER "
        "= down.o "
        "AND t.TYPE_NAME = down.n WHERE t.TYPEID IS NOT NULL",
        {Value::Text(superOwner), Value::Text(superName)});
    unsigned long last = 1;
    for (const auto& row : taken)
      last = std::max(last, std::strtoul(row[0].c_str(), nullptr, 16));
    char text[16];
    std::snprintf(text, sizeof text, "%02lX", last + 1);
    typeId = Value::Text(text);
  }
  // The RAW column keeps bytes, which read back as hex digits.
  return catalog.Exec(
      "INSERT INTO \"SYS.ALL_TYPES\" VALUES (?, ?, upper(hex(randomblob(16))), 'OBJECT', ?, ?, "
      "'NO', 'NO', ?, ?, 'YES', ?, ?, ?, ?, hextoraw(?))",
      {key[0], key[1], Value::Integer(attrNo), Value::Integer(methodNo), Value::Text(YesNo(final)),
       Value::Text(YesNo(instantiable)), subtype ? Value::Text(superOwner) : Value::Null(),
       subtype ? Value::Text(superName) : Value::Null(),
       subtype ? Value::Integer(attrNo - inherited) : Value::Null(),
       subtype ? Value::Integer(methodNo - inheritedMethods) : Value::Null(), typeId},
      error);
}

bool TypeDdl::WriteCollection(const std::string& owner, const std::string& name,
                              const std::string& collType, std::optional<long long> bound,
                              const Attribute& element, OraError& error) {
  Catalog& catalog = context_.catalog;
  std::vector<Value> row{
      Value::Text(owner),
      Value::Text(name),
      Value::Text(collType),
      bound ? Value::Integer(*bound) : Value::Null(),
      element.ref ? Value::Text("REF") : Value::Null(),
      element.type.IsUserDefined() ? Value::Text(element.type.typeOwner) : Value::Null(),
      Value::Text(element.type.name)};
  for (Value& figure : TypeFigures(element.type))
    row.push_back(std::move(figure));
  return catalog.Exec(
             "INSERT INTO \"SYS.ALL_COLL_TYPES\" VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, "
             "?9, ?10, ?11, NULL, 'YES', ?12)",
             row, error) &&
         catalog.Exec(
             "INSERT INTO \"SYS.ALL_TYPES\" VALUES (?, ?, upper(hex(randomblob(16))), "
             "'COLLECTION', 0, 0, 'NO', 'NO', 'YES', 'YES', 'YES', NULL, NULL, NULL, NULL, NULL)",
             {Value::Text(owner), Value::Text(name)}, error);
}

bool TypeDdl::CheckNoDependents(Catalog& catalog, const std::string& owner, const std::string& name,
                                OraError& error) {
  const std::vector<Value> key{Value::Text(owner), Value::Text(name)};
  if (catalog.Any("SELECT 1 FROM \"SYS.ALL_TYPE_ATTRS\" WHERE ATTR_TYPE_OWNER = ?1 AND "
                  "ATTR_TYPE_NAME = ?2 AND INHERITED = 'NO' UNION ALL SELECT 1 FROM "
                  "\"SYS.ALL_COLL_TYPES\" WHERE ELEM_TYPE_OWNER = ?1 AND ELEM_TYPE_NAME = ?2 "
                  "UNION ALL SELECT 1 FROM \"SYS.ALL_TYPES\" WHERE SUPERTYPE_OWNER = ?1 AND "
                  "SUPERTYPE_NAME = ?2 UNION ALL SELECT 1 FROM \"SYS.ALL_TAB_COLS\" WHERE "
                  "DATA_TYPE_OWNER = ?1 AND DATA_TYPE = ?2 UNION ALL SELECT 1 FROM "
                  "\"SYS.ALL_OBJECT_TABLES\" WHERE TABLE_TYPE_OWNER = ?1 AND TABLE_TYPE = ?2",
                  key)) {
    error = {2303, "cannot drop or replace a type with type or table dependents"};
    return false;
  }
  return true;
}

bool TypeDdl::RemoveRows(Catalog& catalog, const std::string& owner, const std::string& name,
                         OraError& error) {
  const std::vector<Value> key{Value::Text(owner), Value::Text(name)};
  for (const char* table : {"ALL_TYPES", "ALL_TYPE_ATTRS", "ALL_TYPE_METHODS", "ALL_COLL_TYPES"})
    if (!catalog.Exec(
            "DELETE FROM \"SYS." + std::string(table) + "\" WHERE OWNER = ? AND TYPE_NAME = ?", key,
            error))
      return false;
  return true;
}

}  // namespace sandbox
