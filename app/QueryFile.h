// QueryFile: the text of --query-file, read with a limit so that a device or
// a huge file (/dev/zero, a dump given by mistake) cannot fill the memory.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// More than this is not one query.
inline constexpr std::size_t LargestQueryFile = 10 * 1024 * 1024;

// Reads path into query; nothing on success, else the message (for example
// "the query file X is a folder, not a file").
std::optional<std::string> ReadQueryFile(const std::string& path, std::string& query);
