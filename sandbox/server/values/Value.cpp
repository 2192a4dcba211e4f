// Constructors of sandbox values that carry Oracle's rules.
#include "sandbox/server/Server.h"

namespace sandbox {

// Oracle makes no difference between the empty string and NULL.
Value Value::Text(std::string s) {
  if (s.empty())
    return Null();
  return {Kind::Text, std::move(s)};
}

}  // namespace sandbox
