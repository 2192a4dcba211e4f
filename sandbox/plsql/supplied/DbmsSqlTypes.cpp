// The types DBMS_SQL declares, as its package declaration has them: the
// statement tables PARSE takes, the column descriptions DESCRIBE_COLUMNS
// fills, and the tables of values for arrays.
#include <map>
#include <memory>

#include "sandbox/plsql/Ast.h"
#include "sandbox/plsql/supplied/SuppliedPackages.h"

namespace sandbox::plsql {

namespace {

TypeSpec Scalar(TypeSpec::Base base, int length = 0) {
  TypeSpec type;
  type.base = base;
  type.length = length;
  if (base == TypeSpec::Base::Number && length > 0) {  // BINARY_INTEGER
    type.precision = length;
    type.length = 0;
  }
  return type;
}

TypeSpec IndexByTable(const std::string& name, TypeSpec element) {
  TypeSpec type;
  type.base = TypeSpec::Base::Collection;
  type.collection = TypeSpec::Collection::IndexBy;
  type.element = std::make_shared<const TypeSpec>(std::move(element));
  type.name = name;
  return type;
}

// DESC_REC (names of 32 bytes), DESC_REC2 (32767) and DESC_REC3 (with the
// type name of an object column), each field at its declared default.
std::shared_ptr<TypeDecl> DescRecord(const std::string& name, int nameLength, bool typeName) {
  auto decl = std::make_shared<TypeDecl>();
  TypeSpec& type = decl->type;
  type.base = TypeSpec::Base::Record;
  type.name = name;
  const TypeSpec integer = Scalar(TypeSpec::Base::Number, 10);
  const TypeSpec text = Scalar(TypeSpec::Base::Varchar2, nameLength);
  const auto add = [&](const char* field, const TypeSpec& fieldType, PlValue init) {
    auto literal = std::make_unique<Expr>();
    literal->value = std::move(init);
    type.fields.push_back({field, fieldType, literal.get()});
    decl->defaults.push_back(std::move(literal));
  };
  const PlValue zero = PlValue::Number(0);
  add("COL_TYPE", integer, zero);
  add("COL_MAX_LEN", integer, zero);
  add("COL_NAME", text, {});
  add("COL_NAME_LEN", integer, zero);
  add("COL_SCHEMA_NAME", text, {});
  add("COL_SCHEMA_NAME_LEN", integer, zero);
  add("COL_PRECISION", integer, zero);
  add("COL_SCALE", integer, zero);
  add("COL_CHARSETID", integer, zero);
  add("COL_CHARSETFORM", integer, zero);
  add("COL_NULL_OK", Scalar(TypeSpec::Base::Boolean), PlValue::Boolean(true));
  if (typeName) {
    add("COL_TYPE_NAME", Scalar(TypeSpec::Base::Varchar2, 32767), {});
    add("COL_TYPE_NAME_LEN", integer, zero);
  }
  return decl;
}

std::shared_ptr<TypeDecl> Table(const std::string& name, TypeSpec element) {
  auto decl = std::make_shared<TypeDecl>();
  decl->type = IndexByTable(name, std::move(element));
  return decl;
}

std::map<std::string, std::shared_ptr<TypeDecl>> DbmsSqlTypes() {
  std::map<std::string, std::shared_ptr<TypeDecl>> types;
  const struct {
    const char* record;
    const char* table;
    int nameLength;
    bool typeName;
  } descriptions[] = {{"DESC_REC", "DESC_TAB", 32, false},
                      {"DESC_REC2", "DESC_TAB2", 32767, false},
                      {"DESC_REC3", "DESC_TAB3", 32767, true}};
  for (const auto& d : descriptions) {
    types[d.record] = DescRecord(d.record, d.nameLength, d.typeName);
    types[d.table] = Table(d.table, types[d.record]->type);
  }
  TypeSpec clob = Scalar(TypeSpec::Base::Varchar2);
  TypeSpec blob = clob;
  blob.binary = true;
  types["VARCHAR2S"] = Table("VARCHAR2S", Scalar(TypeSpec::Base::Varchar2, 256));
  types["VARCHAR2A"] = Table("VARCHAR2A", Scalar(TypeSpec::Base::Varchar2, 32767));
  types["VARCHAR2_TABLE"] = Table("VARCHAR2_TABLE", Scalar(TypeSpec::Base::Varchar2, 2000));
  types["NUMBER_TABLE"] = Table("NUMBER_TABLE", Scalar(TypeSpec::Base::Number));
  types["DATE_TABLE"] = Table("DATE_TABLE", Scalar(TypeSpec::Base::Date));
  types["CLOB_TABLE"] = Table("CLOB_TABLE", clob);
  types["BLOB_TABLE"] = Table("BLOB_TABLE", blob);
  return types;
}

}  // namespace

const TypeDecl* SuppliedType(const std::string& package, const std::string& name) {
  if (package != "DBMS_SQL")
    return nullptr;
  static const auto types = DbmsSqlTypes();
  const auto found = types.find(name);
  return found == types.end() ? nullptr : found->second.get();
}

}  // namespace sandbox::plsql
