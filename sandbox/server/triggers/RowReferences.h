// A row trigger's references to the row (:NEW.col and :OLD.col in its body,
// NEW.col and OLD.col in its WHEN condition, under the names REFERENCING
// gives) rewritten as the placeholders :NEW$COL and :OLD$COL, which the
// firing binds to the row's values.
#pragma once

#include <string>

namespace sandbox {

inline constexpr const char* kNewPrefix = "NEW$";
inline constexpr const char* kOldPrefix = "OLD$";

// The names of the new and the old row in ALL_TRIGGERS.REFERENCING_NAMES
// ("REFERENCING NEW AS n OLD AS o").
void ReferencingNames(const std::string& referencing, std::string& newName, std::string& oldName);

// text with every reference to the row a placeholder. colon: references are
// written with a colon (the body) or without (the WHEN condition).
std::string RowReferencesAsBinds(const std::string& text, const std::string& newName,
                                 const std::string& oldName, bool colon);

}  // namespace sandbox
