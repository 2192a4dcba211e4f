// SecretText: passwords overwritten once they are no longer needed, so that
// they do not linger in freed memory where a core dump or a later allocation
// could show them.
#pragma once

#include <string>

// Overwrites every byte text owns (also those past its end, up to its
// capacity) with zeros and empties it.
void WipeSecret(std::string& text);
