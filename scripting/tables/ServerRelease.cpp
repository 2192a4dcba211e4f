// Reading the server's release from its banner.
#include "scripting/tables/ServerRelease.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "oracle/OracleSession.h"

namespace {

// The number at text[at], moving at past it; -1 when there is none.
int NumberAt(const std::string& text, std::size_t& at) {
  int number = -1;
  for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && number < 1000;
       ++at) {
    number = (number < 0 ? 0 : number * 10) + (text[at] - '0');
  }
  return number;
}

}  // namespace

int ReleaseOfBanner(const std::string& banner) {
  static const std::string marker = "Release ";
  const std::size_t found = banner.find(marker);
  if (found == std::string::npos) {
    return 0;
  }
  std::size_t at = found + marker.size();
  const int major = NumberAt(banner, at);
  if (major <= 0) {
    return 0;
  }
  int minor = 0;
  if (at < banner.size() && banner[at] == '.') {
    ++at;
    minor = std::max(0, std::min(9, NumberAt(banner, at)));
  }
  return major * 10 + minor;
}

int ServerRelease(OracleSession& session) {
  if (!session.IsConnected()) {
    return 0;
  }
  std::array<char, 512> banner{};
  if (session.Oci().OCIServerVersion(session.ServiceContext(), session.ErrorHandle(),
                                     reinterpret_cast<OraText*>(banner.data()),
                                     static_cast<ub4>(banner.size()),
                                     static_cast<ub1>(OCI_HTYPE_SVCCTX)) != OCI_SUCCESS) {
    session.DiscardError();
    return 0;
  }
  banner.back() = '\0';
  return ReleaseOfBanner(banner.data());
}
