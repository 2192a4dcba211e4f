// Fixed texts shared by the run driver, the phases and the window: the
// product's names, the caption form and the report's framing strings.
#pragma once

#include <string>
#include <string_view>

inline constexpr std::string_view ProductName = "Quillmark for Oracle";
inline constexpr std::string_view ProductWebAddress = "https://www.quillmark.example/oracle";

// A main window caption: text + " - Quillmark for Oracle".
std::string CaptionFor(std::string_view text);

// 127 "-" characters.
extern const std::string DashLine;
// "/" and 120 "*", CR LF, "*", CR LF.
extern const std::string BannerOpen;
// CR LF, "*", CR LF, 120 "*", "/", CR LF, CR LF.
extern const std::string BannerClose;
