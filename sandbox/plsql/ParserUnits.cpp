// Stored units from their dictionary text: a standalone procedure or
// function, a package declaration and its body.
#include <algorithm>

#include "sandbox/plsql/Parser.h"
#include "sandbox/plsql/StoredUnit.h"

namespace sandbox::plsql {

void Parser::PushStandardScope() {
  // The predefined exceptions of package STANDARD, by the ORA code they catch.
  static const ExceptionDecl kPredefinedExceptions[] = {
      {"NO_DATA_FOUND", 1403},  {"TOO_MANY_ROWS", 1422},       {"ZERO_DIVIDE", 1476},
      {"VALUE_ERROR", 6502},    {"INVALID_NUMBER", 1722},      {"DUP_VAL_ON_INDEX", 1},
      {"INVALID_CURSOR", 1001}, {"CURSOR_ALREADY_OPEN", 6511}, {"PROGRAM_ERROR", 6501},
  };
  PushScope();
  for (const ExceptionDecl& e : kPredefinedExceptions)
    scopes_.back()[e.name] = {Symbol::Kind::Exception, &e, {}};
}

// [owner.]name, then the clauses before IS that change nothing here.
void Parser::SkipUnitHeader() {
  ExpectIdentifier("identifier");
  if (Accept("."))
    ExpectIdentifier("identifier");
  while (true) {
    if (Accept("AUTHID")) {
      if (ExpectIdentifier("current_user definer").text == "CURRENT_USER" && compiling_ != nullptr)
        compiling_->invokerRights = true;
    } else if (Accept("ACCESSIBLE")) {
      Expect("BY", "by");
      Expect("(", "(");
      while (!Peek().Is(")") && Peek().kind != Token::Kind::End)
        Take();
      Expect(")", ")");
    } else {
      return;
    }
  }
}

void Parser::ExpectUnitEnd(const std::string& name) {
  Expect("END", "end");
  if (Peek().kind == Token::Kind::Identifier || Peek().kind == Token::Kind::QuotedIdentifier) {
    const Token& end = Take();
    if (end.text != name) {
      SemanticError(end, "PLS-00113: END identifier '" + end.text + "' must match '" + name +
                             "' at line 1, column 1");
    }
  }
  Accept(";");
  if (Peek().kind != Token::Kind::End)
    SyntaxError(Peek(), "end-of-file");
}

bool Parser::ParseUnit(StoredUnit& unit, CompileError& error) {
  try {
    compiling_ = &unit;
    owner_ = unit.owner;
    PushStandardScope();
    PushScope();
    if (Accept("PACKAGE")) {
      SkipUnitHeader();
      if (!Accept("IS"))
        Expect("AS", "is as");
      ParseDeclarations(unit.declarations, &unit);
      ExpectUnitEnd(unit.name);
    } else {
      const bool isFunction = Accept("FUNCTION");
      if (!isFunction)
        Expect("PROCEDURE", "procedure function package");
      if (Peek(1).Is(".")) {
        Take();  // the owner
        Take();
      }
      ParseRoutineDeclaration(unit.declarations, isFunction, nullptr);
      if (Peek().kind != Token::Kind::End)
        SyntaxError(Peek(), "end-of-file");
    }
    unit.members = scopes_.back();
    unit.uses = std::move(usedUnits_);
    KeepSchemaTypes(unit.declarations);
    return true;
  } catch (CompileError& e) {
    error = std::move(e);
    return false;
  }
}

bool Parser::ParsePackageBody(const Parser& spec, StoredUnit& unit, CompileError& error) {
  try {
    compiling_ = &unit;
    owner_ = unit.owner;
    scopes_ = spec.scopes_;
    forwards_ = spec.forwards_;
    Expect("PACKAGE", "package");
    Expect("BODY", "body");
    SkipUnitHeader();
    if (!Accept("IS"))
      Expect("AS", "is as");
    PushScope();
    ParseDeclarations(unit.bodyDeclarations, &unit);
    if (const Token& begin = Peek(); Accept("BEGIN")) {
      unit.initialisation = std::make_unique<Block>();
      unit.initialisation->line = begin.line;
      unit.initialisation->body = ParseStatements({"EXCEPTION", "END"});
      if (Accept("EXCEPTION"))
        ParseHandlers(*unit.initialisation);
    }
    ExpectUnitEnd(unit.name);
    for (const RoutineDecl* forward : forwards_) {
      if (forward->definition != nullptr)
        continue;
      CompileError e;
      e.message = "PLS-00323: subprogram or cursor '" + forward->name +
                  "' is declared in a package specification and must be defined in the "
                  "package body";
      // Oracle places it at the declaration, a line of the package's declaration.
      const auto& declared = spec.forwards_;
      e.inCode = std::find(declared.begin(), declared.end(), forward) != declared.end();
      e.line = e.inCode ? forward->line : Peek().line;
      e.column = e.inCode ? forward->column : Peek().column;
      throw e;
    }
    for (auto& used : usedUnits_)
      unit.uses.push_back(std::move(used));
    KeepSchemaTypes(unit.bodyDeclarations);
    return true;
  } catch (CompileError& e) {
    error = std::move(e);
    return false;
  }
}

}  // namespace sandbox::plsql
