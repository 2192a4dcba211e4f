// TerminalSafeText: text that may hold anything a database holds (object
// names, values) made safe to show on a terminal, where an escape sequence
// could retitle the window, move the cursor or worse.
#pragma once

#include <string>
#include <string_view>

// text with its control characters written visibly: bytes below 0x20 and
// 0x7F as "\x1b" and the like, UTF-8 C1 controls (U+0080 to U+009F) as
// "\u009b". Line feeds, tabs and a carriage return before a line feed stay,
// so that lines still break.
std::string TerminalSafeText(std::string_view text);
