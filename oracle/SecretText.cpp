// Wiping that the compiler may not leave out as a dead store.
#include "oracle/SecretText.h"

#include <cstring>

void WipeSecret(std::string& text) {
  // Within the capacity resize never reallocates: the old bytes are reached.
  text.resize(text.capacity());
  explicit_bzero(text.data(), text.size());
  text.clear();
}
