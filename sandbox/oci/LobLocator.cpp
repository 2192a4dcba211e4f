// LobLocator: the length and the pieces of the value it points at.
#include "sandbox/oci/LobLocator.h"

#include <algorithm>
#include <cstring>

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

namespace {

bool ContinuesCharacter(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

ub4 LobLocator::Read(ub4 offset, ub4 amount, char* buffer, ub4 capacity) const {
  if (!value_ || offset == 0)
    return 0;
  const std::string& value = *value_;
  std::size_t begin = 0;
  std::size_t end = 0;
  if (!characters_) {
    begin = offset - 1;
    if (begin >= value.size())
      return 0;
    end = begin + std::min<std::size_t>({amount, capacity, value.size() - begin});
  } else {
    // Walk to the first byte of character number offset.
    for (ub4 skipped = 1; begin < value.size() && skipped < offset; ++skipped) {
      ++begin;
      while (begin < value.size() && ContinuesCharacter(value[begin]))
        ++begin;
    }
    if (begin >= value.size())
      return 0;
    end = begin;
    for (ub4 taken = 0; end < value.size() && taken < amount; ++taken) {
      std::size_t next = end + 1;
      while (next < value.size() && ContinuesCharacter(value[next]))
        ++next;
      if (next - begin > capacity)
        break;
      end = next;
    }
  }
  std::memcpy(buffer, value.data() + begin, end - begin);
  return static_cast<ub4>(end - begin);
}

}  // namespace sandbox::oci
