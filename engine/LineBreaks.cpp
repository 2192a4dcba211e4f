// Report text in one line-break style.
#include "engine/LineBreaks.h"

void LineBreakConverter::Reset(LineBreakStyle style) {
  style_ = style;
  endedWithCr_ = false;
  converted_.clear();
}

bool LineBreakConverter::NeedsChange(std::string_view text, TextOrigin origin) const {
  if (style_ == LineBreakStyle::Lf) {
    return origin != TextOrigin::Server && text.find("\r\n") != std::string_view::npos;
  }
  for (std::size_t i = text.find('\n'); i != std::string_view::npos; i = text.find('\n', i + 1)) {
    const bool afterCr = i > 0 ? text[i - 1] == '\r' : endedWithCr_;
    if (!afterCr) {
      return true;
    }
  }
  return false;
}

std::string_view LineBreakConverter::Convert(std::string_view text, TextOrigin origin) {
  if (text.empty()) {
    return text;
  }
  if (!NeedsChange(text, origin)) {
    endedWithCr_ = text.back() == '\r';
    return text;
  }
  converted_.clear();
  converted_.reserve(text.size() + text.size() / 16);
  bool inLiteral = false;
  bool previousCr = endedWithCr_;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (origin == TextOrigin::DataValues && c == '\'') {
      inLiteral = !inLiteral;  // a doubled quote leaves and enters again
    }
    const bool styled = !inLiteral;
    if (c == '\r' && styled && style_ == LineBreakStyle::Lf && i + 1 < text.size() &&
        text[i + 1] == '\n') {
      previousCr = true;
      continue;  // the LF that follows ends the line
    }
    if (c == '\n' && styled && style_ == LineBreakStyle::CrLf && !previousCr) {
      converted_ += '\r';
    }
    converted_ += c;
    previousCr = c == '\r';
  }
  endedWithCr_ = text.back() == '\r';
  return converted_;
}
