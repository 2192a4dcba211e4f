// Parsing of the timestamp and interval column types.
#include "sandbox/server/ddl/DateTimeTypeDdl.h"

namespace sandbox {

namespace {

// An optional "(n)" with n in 0..9 (ORA-30088 outside).
bool ReadPrecision(TokenStream& in, std::optional<int>& precision, OraError& error) {
  if (!in.AcceptSymbol("("))
    return true;
  long long value = 0;
  if (!in.ReadInteger(value, error))
    return false;
  if (value < 0 || value > 9) {
    error = {30088, "datetime/interval precision is out of range"};
    return false;
  }
  precision = static_cast<int>(value);
  return in.ExpectSymbol(")", error);
}

}  // namespace

bool ReadDateTimeType(TokenStream& in, const std::string& firstWord, OracleType& type,
                      OraError& error) {
  std::optional<int> first, second;
  std::string name;
  if (firstWord == "TIMESTAMP") {
    if (!ReadPrecision(in, first, error))
      return false;
    name = "TIMESTAMP";
    if (in.AcceptWord("WITH")) {
      const bool local = in.AcceptWord("LOCAL");
      if (!in.ExpectWord("TIME", error) || !in.ExpectWord("ZONE", error))
        return false;
      name += local ? " WITH LOCAL TIME ZONE" : " WITH TIME ZONE";
    }
  } else if (in.AcceptWord("YEAR")) {
    if (!ReadPrecision(in, first, error) || !in.ExpectWord("TO", error) ||
        !in.ExpectWord("MONTH", error))
      return false;
    name = "INTERVAL YEAR TO MONTH";
  } else if (in.AcceptWord("DAY")) {
    if (!ReadPrecision(in, first, error) || !in.ExpectWord("TO", error) ||
        !in.ExpectWord("SECOND", error) || !ReadPrecision(in, second, error))
      return false;
    name = "INTERVAL DAY TO SECOND";
  } else {
    error = {902, "invalid datatype"};
    return false;
  }
  type = *OracleType::FromDeclaration(name, first, second);
  return true;
}

}  // namespace sandbox
