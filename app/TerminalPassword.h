// Reading a password from the terminal with echo switched off.
#pragma once

#include <optional>
#include <string>

// Writes prompt to standard error and reads one line from standard input,
// without echo when that is a terminal. Nothing at end of input.
std::optional<std::string> ReadPasswordWithoutEcho(const std::string& prompt);
