// SourceKinds: the eight kinds of stored source that a run scripts, each named
// by its short code ("TRIG", "VIEW", "FUNC", "PKG", "PKGBD", "STP", "TYPE",
// "TYPEB"), with the label the report uses, the object type the dictionary
// lists it under, its run-settings flags and exclusion list, and the catalog
// list of the connection that holds its objects.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scripting/connection/CatalogItem.h"

struct RunSettings;

struct SourceKind {
  const char* code;
  const char* label;           // "Stored Procedures"
  const char* dictionaryType;  // "PROCEDURE"
  int RunSettings::*doFlag;
  int RunSettings::*notProcessedFlag;
  std::vector<std::string> RunSettings::*excluded;
  CatalogList CatalogLists::*list;
};

// The kind of code; null for a code outside the table.
const SourceKind* FindSourceKind(std::string_view code);

// True when the exclusion list of the kind of code holds name, compared
// without regard to case; false for a code outside the table.
bool IsSourceExcluded(const RunSettings& settings, std::string_view code, const std::string& name);
