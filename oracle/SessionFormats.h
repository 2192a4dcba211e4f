// SessionFormats: the text formats the program sets for its sessions, so
// that fetched dates, timestamps and numbers read the same whatever the
// client's territory, and scripts that name the same formats read them back.
#pragma once

// "Settings"\"DateFormat" when the user stored none.
inline constexpr const char* DefaultDateFormat = "MM/DD/YYYY HH24:MI:SS";
// Every fractional digit a timestamp can hold.
inline constexpr const char* SessionTimestampFormat = "YYYY-MM-DD HH24:MI:SS.FF9";
inline constexpr const char* SessionTimestampZoneFormat = "YYYY-MM-DD HH24:MI:SS.FF9 TZR";
// The decimal point and the group separator: a decimal comma would make one
// number two values in a list.
inline constexpr const char* SessionNumericCharacters = ".,";
