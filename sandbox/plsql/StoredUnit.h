// Stored procedures, functions and packages compiled from their dictionary
// text, and the session's store of them. A unit is compiled once per session
// and again only when its text or a unit it calls changed; a package keeps its
// variables in the unit for as long as the session lasts, as Oracle keeps
// package state per session.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sandbox/plsql/Ast.h"
#include "sandbox/plsql/RunState.h"
#include "sandbox/plsql/supplied/DbmsSqlState.h"

namespace sandbox::plsql {

struct PackageState {
  bool initialised = false;
  Scope scope;
};

struct StoredUnit {
  std::string owner;
  std::string name;
  std::string type;           // PROCEDURE, FUNCTION or PACKAGE
  std::string qualifiedName;  // "OWNER.NAME", as error trails name the unit
  std::string text;  // the source it was compiled from (a package's body follows its declaration)
  bool invokerRights = false;  // AUTHID CURRENT_USER: runs in its caller's schema
  // A procedure or function: its one routine. A package: the declaration's
  // declarations, whose names members lists.
  Block declarations;
  std::map<std::string, NamedItem> members;
  Block bodyDeclarations;                 // the package body's private declarations and definitions
  std::unique_ptr<Block> initialisation;  // the body's BEGIN part, if any
  std::vector<std::shared_ptr<const StoredUnit>> uses;
  std::unique_ptr<PackageState> state = std::make_unique<PackageState>();

  bool IsPackage() const { return type == "PACKAGE"; }
};

class StoredUnits {
 public:
  std::shared_ptr<const StoredUnit> Find(const std::string& owner, const std::string& name) const {
    const auto found = units_.find(owner + "." + name);
    return found == units_.end() ? nullptr : found->second;
  }
  void Keep(std::shared_ptr<const StoredUnit> unit) {
    units_[unit->qualifiedName] = std::move(unit);
  }
  // Units being compiled now: one that meets itself again calls in a circle.
  std::vector<std::string>& InProgress() { return inProgress_; }
  DbmsSqlSession& DbmsSqlCursors() { return dbmsSql_; }

 private:
  std::map<std::string, std::shared_ptr<const StoredUnit>> units_;
  std::vector<std::string> inProgress_;
  DbmsSqlSession dbmsSql_;
};

}  // namespace sandbox::plsql
