// Object views: CREATE VIEW v OF type WITH OBJECT IDENTIFIER (attribute,
// ...) | DEFAULT AS query. The query's columns become the type's attributes
// in order; ALL_VIEWS keeps the type and identifier clauses as written.
#include "sandbox/server/ddl/SequenceViewDdl.h"
#include "sandbox/server/ddl/TypeDeclaration.h"

namespace sandbox {

bool SequenceViewDdl::ReadObjectView(ObjectViewSpec& spec, OraError& error) {
  const std::size_t typeBegin = in_.Position();
  if (!in_.ReadQualifiedName(spec.typeOwner, spec.typeName, context_.Schema(), error))
    return false;
  spec.typeText = context_.SourceText(typeBegin, in_.Position());
  const auto kind = FindUserType(context_.catalog, spec.typeOwner, spec.typeName);
  if (!kind || kind->typecode != "OBJECT" || kind->incomplete) {
    error = {902, "invalid datatype"};
    return false;
  }
  if (!in_.ExpectWord("WITH", error) || !in_.ExpectWord("OBJECT", error))
    return false;
  if (!in_.AcceptWord("IDENTIFIER") && !in_.ExpectWord("OID", error))
    return false;
  if (!in_.AcceptWord("DEFAULT")) {
    const std::size_t listBegin = in_.Position() + 1;
    std::vector<std::string> keys;
    if (!in_.ReadNameList(keys, error))
      return false;
    spec.oidText = context_.SourceText(listBegin, in_.Position() - 1);
  }
  for (const auto& row : context_.catalog.Rows(
           "SELECT ATTR_NAME FROM \"SYS.ALL_TYPE_ATTRS\" WHERE OWNER = ? AND TYPE_NAME = ? "
           "ORDER BY ATTR_NO",
           {Value::Text(spec.typeOwner), Value::Text(spec.typeName)}))
    spec.attributes.push_back(row[0]);
  return true;
}

}  // namespace sandbox
