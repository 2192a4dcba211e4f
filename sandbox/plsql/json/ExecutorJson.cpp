// Running the JSON object types' methods: the object and arguments
// evaluated, timestamps turned to and from ISO 8601 text by the server
// (which knows the session's formats), and the result as a variable holds it.
#include "sandbox/plsql/DbmsLob.h"
#include "sandbox/plsql/DynamicSql.h"
#include "sandbox/plsql/Executor.h"
#include "sandbox/plsql/json/JsonMethods.h"

namespace sandbox::plsql {

namespace {

// The one value of SELECT expression FROM DUAL with value bound to :PLSQL_B1.
PlValue ServerValue(Session& session, const std::string& expression, const PlValue& value) {
  DynamicBinds binds;
  binds.values[PlaceholderName(0)] = ToSqlValue(value);
  OraError error;
  std::vector<Value> row;
  const auto cursor = session.OpenQuery("SELECT " + expression + " FROM DUAL", binds, error);
  if (!cursor || !cursor->Next(row, error) || row.empty())
    throw FromOraError(error);
  return FromSqlValue(row[0]);
}

// A timestamp variable's text (in the session's format) as ISO 8601, its
// fractional seconds without trailing zeros.
PlValue IsoOfTimestamp(Session& session, const PlValue& value, const std::string& type) {
  const PlValue iso = ServerValue(
      session,
      "TO_CHAR(CAST(:" + PlaceholderName(0) + " AS " + type + "), 'YYYY-MM-DD\"T\"HH24:MI:SS.FF9')",
      value);
  std::string text = iso.text();
  while (!text.empty() && text.back() == '0')
    text.pop_back();
  if (!text.empty() && text.back() == '.')
    text.pop_back();
  return PlValue::Text(text);
}

PlValue TimestampOfIso(Session& session, const std::string& iso) {
  const std::string withFraction = iso.find('.') == std::string::npos ? iso + ".0" : iso;
  return ServerValue(session,
                     "CAST(TO_TIMESTAMP(:" + PlaceholderName(0) +
                         ", 'YYYY-MM-DD\"T\"HH24:MI:SS.FF') AS TIMESTAMP)",
                     PlValue::Text(withFraction));
}

// The SQL type of a timestamp operand (a variable, or a SQL function the
// server evaluates); empty for any other value.
std::string TimestampType(const Expr& e, const TypeSpec* type) {
  if (type != nullptr && type->temporalType.rfind("TIMESTAMP", 0) == 0)
    return type->temporalType;
  if (e.kind != Expr::Kind::SqlFunction)
    return {};
  switch (e.sqlType) {
    case 187:
      return "TIMESTAMP";
    case 188:
      return "TIMESTAMP WITH TIME ZONE";
    case 232:
      return "TIMESTAMP WITH LOCAL TIME ZONE";
    default:
      return {};
  }
}

}  // namespace

Variable Executor::CallJson(const Expr& expr) {
  const auto& method = json::JsonMethods()[static_cast<size_t>(expr.fieldIndex)];
  json::NodePtr self;
  size_t first = 0;
  if (!method.isStatic) {
    self = EvalComposite(*expr.args[0]).json;
    first = 1;
  }
  std::vector<json::JsonArgument> args;
  for (size_t i = first; i < expr.args.size(); ++i) {
    const Expr& given = *expr.args[i];
    const TypeSpec* type = TypeOf(given);
    json::JsonArgument arg;
    if (type != nullptr && type->base == TypeSpec::Base::Json) {
      arg.isJson = true;
      arg.node = EvalComposite(given).json;
    } else {
      arg.value = Eval(given);
      if (IsBinaryExpr(given) && !arg.value.IsNull())  // a BLOB holds UTF-8 bytes
        arg.value = PlValue::Text(BinaryToSql(arg.value).text);
      const std::string timestamp = TimestampType(given, type);
      if (!timestamp.empty() && !arg.value.IsNull()) {
        arg.value = IsoOfTimestamp(session_, arg.value, timestamp);
        arg.timestamp = true;
      }
    }
    args.push_back(std::move(arg));
  }
  const json::JsonKind own =
      expr.type != nullptr ? json::KindOfType(*expr.type) : json::JsonKind::Element;
  json::JsonOutcome outcome = json::RunJsonMethod(method, own, self, args, session_);
  Variable result;
  result.json = std::move(outcome.node);
  result.value = std::move(outcome.value);
  const bool blob = std::string(method.name) == "TO_BLOB";
  if (blob && !result.value.IsNull())
    result.value = BinaryFromSql(Value::Binary(result.value.text()));
  if (method.result == json::JsonMethod::Result::IntoArgument)
    Assign(*expr.args[first], result.value);
  if (method.result == json::JsonMethod::Result::Timestamp && !result.value.IsNull())
    result.value = TimestampOfIso(session_, result.value.text());
  if (method.result == json::JsonMethod::Result::KeyList) {
    auto keys = std::make_unique<Collection>();
    for (std::string& key : outcome.keys) {
      Variable element;
      element.value = PlValue::Text(std::move(key));
      keys->elements[CollectionKey{++keys->size, {}}] = std::move(element);
    }
    result.collection.Reset(std::move(keys));
  }
  return result;
}

}  // namespace sandbox::plsql
