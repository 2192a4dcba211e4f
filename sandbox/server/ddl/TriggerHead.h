// The head of CREATE TRIGGER, before the body: when the trigger fires, for
// which events, and what it is on: a table or view (a DML trigger), or a
// schema or the database (a system trigger, for DDL events and logons).
#pragma once

#include <string>

#include "sandbox/server/Server.h"
#include "sandbox/server/sql/TokenStream.h"

namespace sandbox {

struct DdlContext;

struct TriggerHead {
  std::string timing;  // BEFORE, AFTER or INSTEAD OF; empty for a compound trigger
  // FOR events ON table: a compound trigger, whose body has a section for
  // each timing point it fires at.
  bool compound = false;
  // As ALL_TRIGGERS keeps them: "INSERT OR UPDATE", "CREATE OR DROP ".
  std::string events;
  std::string columns;  // UPDATE OF, comma-separated
  // What the trigger is on: the table or view for a DML trigger; for a
  // system trigger the schema (or SYS for the database) and no table.
  std::string tableOwner, table, baseType;
  std::string referencing = "REFERENCING NEW AS NEW OLD AS OLD";
  bool eachRow = false;

  bool IsSystem() const { return baseType == "SCHEMA" || baseType == "DATABASE"; }
  // ALL_TRIGGERS.TRIGGER_TYPE.
  std::string TriggerType() const;
};

// Reads the head from the timing keyword up to FOLLOWS, ENABLE, WHEN or the
// body, with Oracle's errors for a head that cannot be.
bool ReadTriggerHead(DdlContext& context, TokenStream& in, TriggerHead& head, OraError& error);

}  // namespace sandbox
