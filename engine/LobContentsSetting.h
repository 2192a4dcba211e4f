// The settings-store key that says whether table data carries the contents
// of LOB columns ("N": a placeholder instead). Like InclPct it lives in the
// "Settings" section and is read at the time of use, not with RunSettings.
#pragma once

inline constexpr const char* LobContentsKey = "LobContents";
