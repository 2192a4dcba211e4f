// Same-file test of the report against the run's inputs.
#include "app/ReportTargetCheck.h"

#include <sys/stat.h>

std::optional<std::string> ReportClobbersInput(const std::string& report,
                                               const std::vector<NamedInput>& inputs) {
  struct stat target {};
  if (report.empty() || ::stat(report.c_str(), &target) != 0) {
    return std::nullopt;
  }
  for (const NamedInput& input : inputs) {
    struct stat file {};
    if (input.path.empty() || ::stat(input.path.c_str(), &file) != 0) {
      continue;
    }
    if (file.st_dev == target.st_dev && file.st_ino == target.st_ino) {
      return "the report " + report + " is " + input.role + " (" + input.path +
             "): writing it would destroy it";
    }
  }
  return std::nullopt;
}
