// Dimensions and Java sources as dictionary rows.
#include "sandbox/server/ddl/ForeignKindDdl.h"

#include "sandbox/server/ServerSession.h"

namespace sandbox {

bool ForeignKindDdl::Starts(const TokenStream& in) {
  return in.Peek().IsWord("DIMENSION") || in.Peek().IsWord("JAVA") ||
         (in.Peek().IsWord("AND") &&
          (in.Peek(1).IsWord("COMPILE") || in.Peek(1).IsWord("RESOLVE")));
}

bool ForeignKindDdl::ReadKind(std::string& type, OraError& error) {
  if (in_.AcceptWord("DIMENSION")) {
    type = "DIMENSION";
    return true;
  }
  if (!in_.ExpectWord("JAVA", error) || !in_.ExpectWord("SOURCE", error))
    return false;
  in_.AcceptWord("NAMED");
  type = "JAVA SOURCE";
  return true;
}

bool ForeignKindDdl::Create(OraError& error) {
  const bool replace = in_.AcceptWords("OR", "REPLACE");
  if (in_.AcceptWord("AND"))
    in_.Skip();  // COMPILE or RESOLVE
  in_.AcceptWord("NOFORCE");
  std::string type, owner, name;
  if (!ReadKind(type, error) ||
      !in_.ReadQualifiedName(owner, name, context_.session.CurrentSchema(), error, 904,
                             "invalid identifier"))
    return false;
  if (in_.AtEnd()) {
    error = {905, "missing keyword"};
    return false;
  }
  if (!context_.RequireFor(owner, type == "DIMENSION" ? "CREATE DIMENSION" : "CREATE PROCEDURE",
                           error))
    return false;
  Catalog& catalog = context_.catalog;
  const auto existing = catalog.ObjectType(owner, name);
  if (existing && (!replace || *existing != type)) {
    error = {955, "name is already used by an existing object"};
    return false;
  }
  return existing ? catalog.TouchObject(owner, name, type, "VALID", error)
                  : catalog.AddObject(owner, name, type, error);
}

bool ForeignKindDdl::Drop(OraError& error) {
  std::string type, owner, name;
  if (!ReadKind(type, error) ||
      !in_.ReadQualifiedName(owner, name, context_.session.CurrentSchema(), error, 904,
                             "invalid identifier"))
    return false;
  if (!in_.AtEnd()) {
    error = {933, "SQL command not properly ended"};
    return false;
  }
  Catalog& catalog = context_.catalog;
  if (catalog.ObjectType(owner, name).value_or("") != type) {
    error = {4043, "object " + name + " does not exist"};
    return false;
  }
  if (owner != context_.User() &&
      !context_.Require(type == "DIMENSION" ? "DROP ANY DIMENSION" : "DROP ANY PROCEDURE", error))
    return false;
  return catalog.RemoveObject(owner, name, type, error);
}

}  // namespace sandbox
