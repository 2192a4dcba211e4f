// Entry point of the PL/SQL interpreter: compiles the block, checks that
// every placeholder it uses is bound, then runs it.
#include "sandbox/plsql/Interpreter.h"

#include <new>
#include <stdexcept>

#include "sandbox/plsql/BlockCache.h"
#include "sandbox/plsql/Executor.h"
#include "sandbox/plsql/Lexer.h"
#include "sandbox/plsql/Parser.h"

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
  if (cache != nullptr) {
    if (auto cached = cache->Find(blockText))
      return cached;
  }
  std::vector<Token> tokens;
  LexError lexError;
  if (!Tokenize(blockText, tokens, lexError)) {
    error.code = 6550;
    error.message = Position(lexError.line, lexError.column) + lexError.message;
    return nullptr;
  }
  Parser parser(blockText, tokens, session);
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
    cache->Add(blockText, compiled);
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

}  // namespace

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
