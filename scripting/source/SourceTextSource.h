// SourceTextSource: the definition of one stored source object as the
// dictionary keeps it, rebuilt as the text that follows "CREATE OR REPLACE ".
#pragma once

#include <string>

struct SourceDefinition {
  // "PROCEDURE name ...", "VIEW name (columns ) AS ...", "TRIGGER name ...";
  // empty when the dictionary holds nothing for the object.
  std::string text;
  // A disabled trigger: the script must disable it again after creating it,
  // since creating a trigger enables it.
  bool disabled = false;
};

class SourceTextSource {
 public:
  virtual ~SourceTextSource() = default;

  // Fills definition for the object name of dictionaryType ("PROCEDURE",
  // "VIEW", "TRIGGER" ...) owned by owner. Returns the error text of a failed
  // dictionary query, or "" (no rows is no error).
  virtual std::string FetchSourceText(const std::string& owner, const std::string& name,
                                      const std::string& dictionaryType,
                                      SourceDefinition& definition) = 0;
};
