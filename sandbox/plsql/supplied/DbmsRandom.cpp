// DBMS_RANDOM: numbers in [0, 1) or a range, normally distributed numbers,
// integers and strings of a kind, from one generator that SEED makes
// repeatable. The generator is the process's, guarded for concurrent
// sessions.
#include <cctype>
#include <cmath>
#include <functional>
#include <mutex>
#include <random>

#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/supplied/SuppliedPackages.h"

namespace sandbox::plsql {

namespace {

std::mutex& GeneratorLock() {
  static std::mutex lock;
  return lock;
}

std::mt19937_64& Generator() {
  static std::mt19937_64 generator{std::random_device{}()};
  return generator;
}

long double Uniform() {
  std::lock_guard guard(GeneratorLock());
  return std::uniform_real_distribution<long double>(0.0L, 1.0L)(Generator());
}

PlValue Value(SuppliedCall& call) {
  const long double u = Uniform();
  if (!call.given[0] && !call.given[1])
    return PlValue::Number(u);
  if (call.args[0].IsNull() || call.args[1].IsNull())
    return {};
  const long double low = NumberOf(call.args[0]), high = NumberOf(call.args[1]);
  return PlValue::Number(low + (high - low) * u);
}

PlValue Normal(SuppliedCall&) {
  // Box-Muller over two uniform numbers; 1 - u keeps the logarithm finite.
  const long double u = 1.0L - Uniform(), v = Uniform();
  return PlValue::Number(std::sqrt(-2.0L * std::log(u)) *
                         std::cos(2.0L * 3.14159265358979323846L * v));
}

PlValue Random(SuppliedCall&) {
  std::lock_guard guard(GeneratorLock());
  return PlValue::Number(static_cast<long double>(
      std::uniform_int_distribution<long long>(-2147483648LL, 2147483647LL)(Generator())));
}

// OPT: 'U' upper case letters, 'L' lower case, 'A' both, 'X' upper case
// and digits, 'P' any printable character; any other option is 'U'.
PlValue String(SuppliedCall& call) {
  if (call.args[1].IsNull())
    return {};
  const std::string option = SuppliedText(call, 0);
  const char kind = option.empty() ? 'U' : static_cast<char>(std::toupper(option[0]));
  std::string alphabet;
  if (kind == 'P') {
    for (char c = ' '; c <= '~'; ++c)
      alphabet += c;
  } else {
    if (kind != 'L')
      alphabet += "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    if (kind == 'L' || kind == 'A')
      alphabet += "abcdefghijklmnopqrstuvwxyz";
    if (kind == 'X')
      alphabet += "0123456789";
  }
  const long double wanted = std::floor(NumberOf(call.args[1]));
  const size_t length = wanted <= 0 ? 0 : wanted > 4000 ? 4000 : static_cast<size_t>(wanted);
  std::string text;
  for (size_t i = 0; i < length; ++i)
    text += alphabet[static_cast<size_t>(Uniform() * alphabet.size()) % alphabet.size()];
  return PlValue::Text(text);
}

PlValue Seed(SuppliedCall& call) {
  const std::string seed = SuppliedText(call, 0);
  std::lock_guard guard(GeneratorLock());
  Generator().seed(std::hash<std::string>()(seed));
  return {};
}

PlValue Nothing(SuppliedCall&) {
  return {};
}

}  // namespace

const std::vector<SuppliedRoutine>& DbmsRandomRoutines() {
  static const std::vector<SuppliedRoutine> routines = {
      {"DBMS_RANDOM", "VALUE", true, {{"LOW", false, true}, {"HIGH", false, true}}, Value},
      {"DBMS_RANDOM", "NORMAL", true, {}, Normal},
      {"DBMS_RANDOM", "RANDOM", true, {}, Random},
      {"DBMS_RANDOM", "STRING", true, {{"OPT"}, {"LEN"}}, String},
      {"DBMS_RANDOM", "SEED", false, {{"VAL"}}, Seed},
      {"DBMS_RANDOM", "INITIALIZE", false, {{"VAL"}}, Seed},
      {"DBMS_RANDOM", "TERMINATE", false, {}, Nothing},
  };
  return routines;
}

}  // namespace sandbox::plsql
