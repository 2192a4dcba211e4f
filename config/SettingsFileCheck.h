// SettingsFileCheck: looks at the settings file before the store reads it, so
// that a file the store cannot use is reported in words of its own instead of
// silently giving default settings, and is never overwritten.
#pragma once

#include <string>

// Empty when path can be used as the settings file; otherwise the message
// for the user. A missing file is created empty, readable and writable by
// its owner alone (it may come to hold passwords). A file that is not a
// settings file (binary data, lines that are neither "[section]" nor
// "key=value") is renamed to path + ".unusable" and a new empty one is created.
std::string SettingsFileProblem(const std::string& path);

// Creates path, when it does not exist, empty with mode 0600 (on Linux).
// False when it does not exist afterwards.
bool CreatePrivateFile(const std::string& path);

// Empty when directory can hold the settings file (creating it when missing);
// otherwise what is wrong with it, for example "it is a file, not a folder".
std::string SettingsDirectoryProblem(const std::string& directory);
