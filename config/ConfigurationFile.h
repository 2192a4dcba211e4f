// ConfigurationFile: the *.qmo file that holds one complete scripting setup
// (the connect string, every stored run option, the selection lists, the data
// conditions and the free-form statement) so that it can be run again, also
// unattended. The format is a flat little-endian record stream with no field
// names; its order is fixed by the record table in ConfigurationFile.cpp and
// files written by earlier versions of the program must stay readable.
//
// Reading is all or nothing: a damaged or truncated file changes nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/RunSettings.h"

// What a configuration file holds besides the run settings.
struct ConfigurationHeader {
  std::string Version;        // "Version 1.1", the one version there is
  std::string ConnectString;  // [schema:]user[/password]@database, or empty
};

inline constexpr const char* ConfigurationVersion = "Version 1.1";

// The file's bytes for settings and connectString; integers out of their
// range are stored as the nearest value in it.
std::string EncodeConfiguration(const std::string& connectString, const RunSettings& settings);

// Reads bytes into header and settings, all or nothing: fields the file does
// not carry keep their values, and loading also resets OwnTablesOnly to 1 and
// ColumnIgnoreNameCase to 0. What the format cannot hold is refused: another
// version, an integer out of its range, a report file name that is not a
// path, bytes after the last record. Returns nothing on success; else which
// record could not be read and why, with header and settings unchanged.
std::optional<std::string> DecodeConfiguration(std::string_view bytes, ConfigurationHeader& header,
                                               RunSettings& settings);

// Reads a whole file; nothing on success, else the reason.
std::optional<std::string> ReadConfigurationFile(const std::string& path, std::string& bytes);

// Writes bytes to path through a temporary file in the same folder that
// replaces path only when everything was written, so that a full disk leaves
// the old file whole. The file is readable by its owner only: it may hold a
// password. Nothing on success, else the reason.
std::optional<std::string> WriteConfigurationFile(const std::string& path,
                                                  const std::string& bytes);
