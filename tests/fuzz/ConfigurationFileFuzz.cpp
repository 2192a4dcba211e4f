// Fuzz target: reading configuration files. Any bytes either decode or are
// refused with a reason; a refused file leaves the settings as they were, and
// a decoded one writes back to bytes that decode to the same settings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "config/ConfigurationFile.h"

namespace {

bool SameStored(const RunSettings& a, const RunSettings& b) {
  return EncodeConfiguration("", a) == EncodeConfiguration("", b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  ConfigurationHeader header;
  RunSettings settings;
  const RunSettings before = settings;
  if (DecodeConfiguration(bytes, header, settings)) {
    if (!SameStored(settings, before) || !header.ConnectString.empty()) {
      std::abort();  // a refused file changed something
    }
    return 0;
  }
  ConfigurationHeader again;
  RunSettings reread;
  if (DecodeConfiguration(EncodeConfiguration(header.ConnectString, settings), again, reread) ||
      again.ConnectString != header.ConnectString || !SameStored(reread, settings)) {
    std::abort();
  }
  return 0;
}
