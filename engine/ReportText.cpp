// The report's framing strings and the caption form.
#include "engine/ReportText.h"

std::string CaptionFor(std::string_view text) {
  std::string caption(text);
  caption += " - ";
  caption += ProductName;
  return caption;
}

const std::string DashLine(127, '-');
const std::string BannerOpen = "/" + std::string(120, '*') + "\r\n*\r\n";
const std::string BannerClose = "\r\n*\r\n" + std::string(120, '*') + "/\r\n\r\n";
