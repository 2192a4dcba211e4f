// The colours of report text. A run picks one of these for every piece of text
// it writes; views and the rich-text writer turn them into their own colour type.
#pragma once

#include <cstdint>

struct ReportColour {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;

  friend bool operator==(const ReportColour&, const ReportColour&) = default;
};

// Names, counts and values inside banners; generated statements.
inline constexpr ReportColour NameColour{0x2A, 0x2A, 0xFF};
// The file-output notice, the closing line, the stop line, skip lines, error blocks.
inline constexpr ReportColour NoticeColour{0x82, 0x08, 0x36};
// "  IMPORTANT:  ", auto-save failures, the table name of an INSERT statement.
inline constexpr ReportColour AlertColour{0xFF, 0x00, 0x00};
// Banners and comment text; the keywords of INSERT statements.
inline constexpr ReportColour CommentColour{0x09, 0xA5, 0x2E};
// Plain text.
inline constexpr ReportColour TextColour{0x00, 0x00, 0x00};
// Kept with the others; no run text uses it.
inline constexpr ReportColour BackgroundColour{0xFF, 0xFF, 0xFF};
