// Values of type hierarchies in SQL: TREAT(expr AS type), expr IS [NOT] OF
// [TYPE] ([ONLY] type, ...) and SYS_TYPEID(expr). A value of a subtype
// carries its type under the key "" (no attribute can be named so); a value
// without it is of a type without a supertype, the hierarchy's root.
#include <algorithm>

#include "sandbox/server/SqliteHandle.h"
#include "sandbox/server/sql/SqlTranslator.h"

namespace sandbox {

namespace {

std::string TypeOf(const std::string& value, const std::string& root) {
  return "coalesce(json_extract(" + value + ", '$.\"\"'), " + QuoteSqliteText(root) + ")";
}

// type and every type under it.
std::vector<std::string> Subtree(const std::vector<TypeFamilyMember>& family,
                                 const std::string& type) {
  std::vector<std::string> types{type};
  // Supertypes come before their subtypes, so one pass gathers them all.
  for (const TypeFamilyMember& member : family)
    if (std::find(types.begin(), types.end(), member.supertype) != types.end() &&
        std::find(types.begin(), types.end(), member.type) == types.end())
      types.push_back(member.type);
  return types;
}

std::string InList(const std::vector<std::string>& types) {
  std::string list;
  for (const std::string& type : types)
    list += (list.empty() ? "" : ", ") + QuoteSqliteText(type);
  return "(" + list + ")";
}

}  // namespace

std::optional<std::pair<std::vector<TypeFamilyMember>, std::string>> SqlTranslator::ReadTypeName(
    std::size_t at, std::size_t end, std::size_t& next) {
  std::vector<std::string> parts;
  next = at < end && IsNameToken(tokens_[at]) ? QualifiedName(at, end, parts) : at;
  const auto shape = parts.empty() ? std::nullopt : resolver_.ResolveObjectType(parts);
  if (!shape || shape->collection) {
    Fail(902, "invalid datatype");
    return std::nullopt;
  }
  auto family = resolver_.TypeFamily(shape->owner, shape->name);
  if (family.empty()) {
    Fail(902, "invalid datatype");
    return std::nullopt;
  }
  return std::make_pair(std::move(family), shape->QualifiedName());
}

std::size_t SqlTranslator::TranslateTreat(std::size_t at, std::size_t end,
                                          std::vector<Unit>& units) {
  const std::size_t close = ClosingParenOf(at + 1, end);
  if (error_.IsSet())
    return end;
  std::size_t as = close;
  for (std::size_t i = at + 2, depth = 0; i < close; ++i) {
    if (tokens_[i].IsSymbol("("))
      ++depth;
    else if (tokens_[i].IsSymbol(")"))
      --depth;
    else if (depth == 0 && tokens_[i].IsWord("AS"))
      as = i;
  }
  if (as == close || as == at + 2) {
    Fail(as == close ? 905 : 936, as == close ? "missing keyword" : "missing expression");
    return end;
  }
  std::size_t typeAt = as + 1;
  if (typeAt < close && tokens_[typeAt].IsWord("REF")) {
    Fail(22970, "name does not correspond to an object view");
    return end;
  }
  std::size_t typeEnd = typeAt;
  const auto type = ReadTypeName(typeAt, close, typeEnd);
  if (!type)
    return end;
  if (typeEnd != close) {
    Fail(907, "missing right parenthesis");
    return end;
  }
  const std::string value = "(" + TranslateRange(at + 2, as, true) + ")";
  std::string treated = "(CASE WHEN " + TypeOf(value, type->first.front().type) + " IN " +
                        InList(Subtree(type->first, type->second)) + " THEN " + value + " END)";
  // TREAT(...).attribute[.attribute ...]
  std::size_t next = close + 1;
  std::string path;
  while (next + 1 < end && tokens_[next].IsSymbol(".") && IsNameToken(tokens_[next + 1])) {
    path += ".\"" + tokens_[next + 1].Upper() + "\"";
    next += 2;
  }
  if (!path.empty())
    treated = "json_extract(" + treated + ", " + QuoteSqliteText("$" + path) + ")";
  units.push_back({treated, true});
  return next;
}

std::size_t SqlTranslator::TranslateIsOf(std::size_t at, std::size_t end,
                                         std::vector<Unit>& units) {
  const bool negated = tokens_[at + 1].IsWord("NOT");
  std::size_t i = at + (negated ? 3 : 2);
  if (i < end && tokens_[i].IsWord("TYPE"))
    ++i;
  if (units.empty() || !units.back().primary) {
    Fail(936, "missing expression");
    return end;
  }
  if (i >= end || !tokens_[i].IsSymbol("(")) {
    Fail(906, "missing left parenthesis");
    return end;
  }
  const std::size_t close = ClosingParenOf(i, end);
  if (error_.IsSet())
    return end;
  std::vector<std::string> types;
  std::string root;
  for (const auto& [begin, itemEnd] : Arguments(i + 1, close)) {
    const bool only = begin < itemEnd && tokens_[begin].IsWord("ONLY");
    std::size_t typeEnd = begin;
    const auto type = ReadTypeName(begin + (only ? 1 : 0), itemEnd, typeEnd);
    if (!type)
      return end;
    if (typeEnd != itemEnd) {
      Fail(907, "missing right parenthesis");
      return end;
    }
    root = type->first.front().type;
    for (const std::string& member :
         only ? std::vector<std::string>{type->second} : Subtree(type->first, type->second))
      types.push_back(member);
  }
  const std::string value = units.back().text;
  units.back().text = std::string(negated ? "NOT " : "") + "(CASE WHEN " + value +
                      " IS NULL THEN NULL ELSE " + TypeOf(value, root) + " IN " + InList(types) +
                      " END)";
  return close + 1;
}

std::size_t SqlTranslator::TranslateTypeId(std::size_t at, std::size_t end,
                                           std::vector<Unit>& units) {
  const std::size_t close = ClosingParenOf(at + 1, end);
  if (error_.IsSet())
    return end;
  // The most specific type's TYPEID; a value that names none is of a root
  // type, whose TYPEID is 01 when it has one (NULL for a FINAL type).
  // The declared type is known of VALUE(alias) and of alias.column.
  std::optional<std::pair<std::string, std::string>> declared;
  if (close == at + 6 && tokens_[at + 2].IsWord("VALUE") &&
      objectTables_.count(tokens_[at + 4].Upper()))
    declared = std::make_pair(objectTables_[tokens_[at + 4].Upper()].owner,
                              objectTables_[tokens_[at + 4].Upper()].name);
  else if (close == at + 5 && tokens_[at + 3].IsSymbol(".") &&
           tableAliases_.count(tokens_[at + 2].Upper()))
    declared =
        resolver_.ColumnObjectType(tableAliases_[tokens_[at + 2].Upper()], tokens_[at + 4].Upper());
  const auto family = declared ? resolver_.TypeFamily(declared->first, declared->second)
                               : std::vector<TypeFamilyMember>();
  const std::string rootId = family.empty() || family.front().typeId.empty()
                                 ? "NULL"
                                 : "hextoraw(" + QuoteSqliteText(family.front().typeId) + ")";
  const std::string value = "(" + TranslateRange(at + 2, close, true) + ")";
  units.push_back({"(CASE WHEN " + value + " IS NULL THEN NULL WHEN json_extract(" + value +
                       ", '$.\"\"') IS NULL THEN " + rootId +
                       " ELSE (SELECT TYPEID FROM "
                       "\"SYS.ALL_TYPES\" WHERE OWNER || '.' || TYPE_NAME = json_extract(" +
                       value + ", '$.\"\"')) END)",
                   true});
  return close + 1;
}

std::string SqlTranslator::DispatchedCall(const std::string& owner, const std::string& type,
                                          const std::string& method, const std::string& object,
                                          const std::string& arguments) {
  const auto call = [&](const std::string& qualified) {
    const std::size_t dot = qualified.find('.');
    return "ora_plsql_call(" + QuoteSqliteText(qualified.substr(0, dot)) + ", " +
           QuoteSqliteText(qualified.substr(dot + 1)) + ", " + QuoteSqliteText(method) + ", " +
           object + (arguments.empty() ? "" : ", " + arguments) + ")";
  };
  const std::string declared = owner + "." + type;
  const auto family = resolver_.TypeFamily(owner, type);
  // A type runs the method it defines itself, else the one its nearest
  // supertype defines.
  const auto implementer = [&](std::string candidate) {
    for (std::size_t depth = 0; depth <= family.size(); ++depth) {
      const auto member =
          std::find_if(family.begin(), family.end(),
                       [&](const TypeFamilyMember& m) { return m.type == candidate; });
      if (member == family.end())
        break;
      if (std::find(member->methods.begin(), member->methods.end(), method) !=
          member->methods.end())
        return candidate;
      candidate = member->supertype;
    }
    return declared;
  };
  const std::string fallback = implementer(declared);
  std::string cases;
  for (const std::string& dynamic : Subtree(family, declared)) {
    const std::string runs = implementer(dynamic);
    if (runs != fallback)
      cases += " WHEN " + QuoteSqliteText(dynamic) + " THEN " + call(runs);
  }
  if (cases.empty())
    return call(fallback);
  return "(CASE " + TypeOf(object, family.front().type) + cases + " ELSE " + call(fallback) +
         " END)";
}

}  // namespace sandbox
