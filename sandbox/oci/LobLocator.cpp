// LobLocator: the length of the value it points at.
#include "sandbox/oci/LobLocator.h"

namespace sandbox::oci {

ub4 LobLocator::Length() const {
  if (!value_)
    return 0;
  if (!characters_)
    return static_cast<ub4>(value_->size());
  // Characters of UTF-8 text: every byte that does not continue a sequence.
  ub4 count = 0;
  for (unsigned char c : *value_) {
    if ((c & 0xC0) != 0x80)
      ++count;
  }
  return count;
}

}  // namespace sandbox::oci
