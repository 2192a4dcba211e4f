// The environment that tells whether the desktop program has a display.
#include "app/DisplayCheck.h"

#include <cstdlib>
#include <sstream>
#include <string>

namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// Qt platforms that draw without a window system of the desktop.
bool DrawsWithoutDisplay(const std::string& platform) {
  for (const char* name :
       {"offscreen", "minimal", "minimalegl", "vnc", "linuxfb", "eglfs", "vkkhrdisplay"}) {
    if (platform == name) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool DisplayAvailable() {
#if defined(__linux__)
  if (IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY")) {
    return true;
  }
  // "name[:options]", or several of them separated by ";" to be tried in turn.
  const char* platforms = std::getenv("QT_QPA_PLATFORM");
  std::istringstream list(platforms != nullptr ? platforms : "");
  std::string entry;
  while (std::getline(list, entry, ';')) {
    if (DrawsWithoutDisplay(entry.substr(0, entry.find(':')))) {
      return true;
    }
  }
  return false;
#else
  return true;
#endif
}
