// ReportTargetCheck: refuses a report file that is one of the run's own
// inputs (settings, configuration, query or password file), which writing
// the report would destroy.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct NamedInput {
  // What the file is to the run ("the --config file"), for the message.
  std::string role;
  std::string path;
};

// Why report may not be written, or nothing. Files are compared by device and
// inode, so links and other spellings of an input's path are caught; inputs
// that do not exist (yet) cannot be clobbered and are passed over.
std::optional<std::string> ReportClobbersInput(const std::string& report,
                                               const std::vector<NamedInput>& inputs);
