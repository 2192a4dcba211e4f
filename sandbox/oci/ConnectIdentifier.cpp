// Parsing of connect identifiers and the release banners they can ask for.
#include "sandbox/oci/ConnectIdentifier.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <utility>

namespace sandbox::oci {
namespace {

struct ReleaseBanner {
  const char* release;
  const char* banner;
};

constexpr std::array<ReleaseBanner, 4> kBanners = {{
    {"19",
     "Oracle Database 19c Enterprise Edition Release 19.0.0.0.0 - Production\n"
     "Version 19.3.0.0.0"},
    {"8.1.7",
     "Oracle8i Enterprise Edition Release 8.1.7.0.0 - Production\n"
     "JServer Release 8.1.7.0.0 - Production"},
    {"8.0.5",
     "Oracle8 Enterprise Edition Release 8.0.5.0.0 - Production\n"
     "PL/SQL Release 8.0.5.0.0 - Production"},
    {"7.3.4",
     "Oracle7 Server Release 7.3.4.0.0 - Production\n"
     "PL/SQL Release 2.3.4.0.0 - Production"},
}};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string Trimmed(const std::string& text) {
  std::size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos)
    return {};
  std::size_t end = text.find_last_not_of(" \t\r\n");
  return text.substr(begin, end - begin + 1);
}

}  // namespace

bool ConnectIdentifier::Parse(const std::string& text, ConnectIdentifier& result) {
  std::string identifier = Trimmed(text);
  result.banner.reset();
  std::size_t question = identifier.rfind('?');
  if (question != std::string::npos) {
    std::string option = Lower(identifier.substr(question + 1));
    identifier.erase(question);
    const std::string key = "release=";
    if (option.compare(0, key.size(), key) != 0)
      return false;
    std::string release = option.substr(key.size());
    auto it = std::find_if(kBanners.begin(), kBanners.end(),
                           [&release](const ReleaseBanner& b) { return release == b.release; });
    if (it == kBanners.end())
      return false;
    result.banner = it->banner;
  }
  if (identifier.empty()) {
    const char* twoTask = std::getenv("TWO_TASK");
    identifier = twoTask != nullptr && *twoTask != '\0' ? twoTask : "demo";
  }
  result.database = std::move(identifier);
  return true;
}

}  // namespace sandbox::oci
