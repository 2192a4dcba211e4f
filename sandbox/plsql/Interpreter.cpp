// Entry point of the PL/SQL interpreter: compiles the block, checks that
// every placeholder it uses is bound, then runs it.
#include "sandbox/plsql/Interpreter.h"

#include <cstdlib>
#include <new>
#include <optional>
#include <stdexcept>

#include "sandbox/plsql/BlockCache.h"
#include "sandbox/plsql/DbmsLob.h"
#include "sandbox/plsql/Executor.h"
#include "sandbox/plsql/Lexer.h"
#include "sandbox/plsql/Parser.h"
#include "sandbox/plsql/Preprocessor.h"
#include "sandbox/plsql/UnitLoader.h"
#include "sandbox/plsql/supplied/SuppliedPackages.h"
#include "sandbox/server/EmptyBindSet.h"

namespace sandbox::plsql {

namespace {

std::string Position(int line, int column) {
  return "line " + std::to_string(line) + ", column " + std::to_string(column) + ":\n";
}

// The compiled block of blockText, from the session's cache when it holds
// one; null with error set when the text does not compile.
std::shared_ptr<const CompiledBlock> Compile(Session& session, const std::string& blockText,
                                             OraError& error) {
  BlockCache* cache = session.CompiledBlocks();
  // The same text means other objects in another schema.
  const std::string key = session.CurrentSchema() + '\n' + blockText;
  if (cache != nullptr) {
    if (auto cached = cache->Find(key))
      return cached;
  }
  std::vector<Token> tokens;
  LexError lexError;
  std::string text;
  if (!Preprocess(blockText, UnitIdentity{}, text, lexError) || !Tokenize(text, tokens, lexError)) {
    error.code = 6550;
    error.message = Position(lexError.line, lexError.column) + lexError.message;
    return nullptr;
  }
  Parser parser(text, tokens, session);
  CompileError compileError;
  std::unique_ptr<Block> block = parser.Parse(compileError);
  if (!block) {
    error.code = 6550;
    error.message = Position(compileError.line, compileError.column) + compileError.message;
    if (!compileError.trailer.empty()) {
      error.message +=
          "\nORA-06550: " + Position(compileError.trailerLine, compileError.trailerColumn) +
          compileError.trailer;
    }
    return nullptr;
  }
  auto compiled =
      std::make_shared<const CompiledBlock>(CompiledBlock{std::move(block), parser.BindNames()});
  if (cache != nullptr)
    cache->Add(key, compiled);
  return compiled;
}

bool CompileAndRun(Session& session, const std::string& blockText, BindSet& binds,
                   OraError& error) {
  const auto compiled = Compile(session, blockText, error);
  if (!compiled)
    return false;
  for (const std::string& name : compiled->bindNames) {
    if (!binds.Has(name)) {
      error.code = 1008;
      error.message = "not all variables bound";
      return false;
    }
  }
  Executor executor(session, binds);
  return executor.Run(*compiled->block, error);
}

// The function routine name stands for in unit, taking count arguments.
const RoutineDecl* FunctionTaking(const StoredUnit& unit, const std::string& name, size_t count) {
  const auto found = unit.members.find(name);
  if (found == unit.members.end() || found->second.kind != NamedItem::Kind::Routine)
    return nullptr;
  for (const RoutineDecl* routine : found->second.routines) {
    size_t required = 0;
    for (const auto& p : routine->params)
      required += p->init ? 0 : 1;
    if (routine->isFunction && count >= required && count <= routine->params.size())
      return routine;
  }
  return nullptr;
}

bool CallFunction(Session& session, const std::string& owner, const std::string& unit,
                  const std::string& member, const std::vector<Value>& arguments, Value& result,
                  OraError& error) {
  LoadedUnit loaded = LoadStoredUnit(session, owner, unit, false);
  // A member method called on an object in SQL: unit is the object's type.
  if (!loaded.unit && loaded.invalid.empty() && !member.empty())
    loaded = LoadTypeBody(session, owner, unit);
  const std::string name = member.empty() ? unit : member;
  if (!loaded.invalid.empty()) {
    error = {6575, "Package or function " + unit + " is in an invalid state"};
    return false;
  }
  if (!loaded.unit || loaded.unit->members.count(name) == 0) {
    error = {904, "\"" + name + "\": invalid identifier"};
    return false;
  }
  const RoutineDecl* routine = FunctionTaking(*loaded.unit, name, arguments.size());
  if (routine == nullptr) {
    error = {6553, "PLS-306: wrong number or types of arguments in call to '" + name + "'"};
    return false;
  }
  std::vector<PlValue> values;
  for (size_t i = 0; i < arguments.size(); ++i) {
    Value argument = arguments[i];
    // Dates arrive from SQLite in their stored text form.
    const TypeSpec& type = routine->params[i]->type;
    if (type.base == TypeSpec::Base::Date && argument.kind == Value::Kind::Text &&
        argument.text.size() == 19 && argument.text[4] == '-' && argument.text[10] == ' ')
      argument.kind = Value::Kind::Date;
    values.push_back(FromSqlValue(argument));
  }
  EmptyBindSet noBinds;
  Executor executor(session, noBinds);
  PlValue returned;
  if (!executor.CallFunction(*routine, values, returned, error))
    return false;
  if (returned.kind() == PlValue::Kind::Boolean) {
    error = {6553, "PLS-382: expression is of wrong type"};
    return false;
  }
  result = ToSqlValue(returned);
  return true;
}

// Runs run with nothing escaping to the server: memory exhaustion is
// Oracle's storage error, anything else an internal error.
template <typename Run>
bool Contained(OraError& error, const Run& run) {
  try {
    return run();
  } catch (const std::bad_alloc&) {
    error = {6500, "PL/SQL: storage error"};
  } catch (const std::exception& e) {
    error = {600, std::string("internal error code, arguments: [plsql], [") + e.what() + "]"};
  }
  return false;
}

// A supplied function called in SQL: its arguments by position.
bool CallSuppliedFunction(Session& session, const SuppliedRoutine& routine,
                          const std::vector<Value>& arguments, Value& result, OraError& error) {
  if (arguments.size() > routine.params.size()) {
    error = {909, "invalid number of arguments"};
    return false;
  }
  SuppliedCall call{session};
  call.routine = &routine;
  for (size_t i = 0; i < routine.params.size(); ++i) {
    const bool given = i < arguments.size();
    if (!given && !routine.params[i].optional) {
      error = {909, "invalid number of arguments"};
      return false;
    }
    const bool binary = given && arguments[i].kind == Value::Kind::Binary;
    call.given.push_back(given);
    call.binary.push_back(binary);
    call.args.push_back(binary  ? BinaryFromSql(arguments[i])
                        : given ? FromSqlValue(arguments[i])
                                : PlValue());
  }
  try {
    const PlValue value = routine.body(call);
    result = call.binaryResult ? BinaryToSql(value) : ToSqlValue(value);
    return true;
  } catch (const PlError& e) {
    error = {e.code, e.message};
    return false;
  }
}

}  // namespace

bool CallStoredFunction(Session& session, const std::string& owner, const std::string& unit,
                        const std::string& member, const std::vector<Value>& arguments,
                        Value& result, OraError& error) {
  try {
    if (const SuppliedRoutine* supplied = owner == "SYS" ? FindSupplied(unit, member) : nullptr)
      return CallSuppliedFunction(session, *supplied, arguments, result, error);
    return CallFunction(session, owner, unit, member, arguments, result, error);
  } catch (const std::bad_alloc&) {
    error = {6500, "PL/SQL: storage error"};
  } catch (const std::exception& e) {
    error = {600, std::string("internal error code, arguments: [plsql], [") + e.what() + "]"};
  }
  return false;
}

std::string StoredFunctionResultType(Session& session, const std::string& owner,
                                     const std::string& unit, const std::string& member,
                                     size_t arguments) {
  try {
    const LoadedUnit loaded = LoadStoredUnit(session, owner, unit, false);
    const RoutineDecl* routine =
        loaded.unit ? FunctionTaking(*loaded.unit, member.empty() ? unit : member, arguments)
                    : nullptr;
    return routine != nullptr ? routine->returnType.sqlType : std::string();
  } catch (const std::exception&) {
    return {};  // the call itself reports what keeps the unit from compiling
  }
}

std::vector<UnitErrorRow> StoredUnitErrors(Session& session, const std::string& owner,
                                           const std::string& name, const std::string& type) {
  std::optional<CompileError> found;
  try {
    found = CheckStoredUnit(session, owner, name, type);
  } catch (const std::exception&) {
    return {};  // a unit too large to compile here is no error in its code
  }
  if (!found)
    return {};
  std::vector<UnitErrorRow> rows;
  if (!found->trailer.empty())
    rows.push_back({found->trailerLine, found->trailerColumn, 0, found->trailer});
  const std::string& text = found->message;
  int number = 0;
  if (text.rfind("PLS-", 0) == 0)
    number = std::atoi(text.c_str() + 4);
  rows.push_back({found->line, found->column, number, text});
  return rows;
}

std::shared_ptr<const CompiledBlock> CompileTriggerBody(Session& session, const std::string& text,
                                                        OraError& error) {
  try {
    return Compile(session, text, error);
  } catch (const std::bad_alloc&) {
    error = {6500, "PL/SQL: storage error"};
  } catch (const std::exception& e) {
    error = {600, std::string("internal error code, arguments: [plsql], [") + e.what() + "]"};
  }
  return nullptr;
}

bool RunTriggerBody(Session& session, const CompiledBlock& body, const std::string& unit,
                    BindSet& binds, OraError& error) {
  return Contained(error, [&] {
    Executor executor(session, binds);
    return executor.Run(*body.block, error, &unit);
  });
}

bool RunTriggerSection(Session& session, const CompiledBlock& body, TimingPoint point,
                       TriggerState& state, const std::string& unit, BindSet& binds,
                       OraError& error) {
  return Contained(error, [&] {
    Executor executor(session, binds);
    return executor.RunSection(*body.block, point, state, error, &unit);
  });
}

bool RunAnonymousBlock(Session& session, const std::string& blockText, BindSet& binds,
                       OraError& error) {
  // Nothing may escape to the OCI caller; memory exhaustion is Oracle's
  // storage error.
  try {
    return CompileAndRun(session, blockText, binds, error);
  } catch (const std::bad_alloc&) {
    error = {6500, "PL/SQL: storage error"};
  } catch (const std::exception& e) {
    error = {600, std::string("internal error code, arguments: [plsql], [") + e.what() + "]"};
  }
  return false;
}

}  // namespace sandbox::plsql
