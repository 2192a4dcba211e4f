// TO_CHAR's number models that are a form of their own rather than a layout
// of digits: X (hexadecimal), RN (Roman numerals), EEEE (scientific) and
// TM (text minimum), each with or without FM.
#pragma once

#include <optional>
#include <string>

namespace sandbox {

// Empty when the model is none of these forms; otherwise the text, or
// nullopt inside when the form is misused ("9X", "9,9EEEE") and the model
// is invalid (ORA-01481).
std::optional<std::optional<std::string>> FormatNumberForm(double value, const std::string& format);

}  // namespace sandbox
