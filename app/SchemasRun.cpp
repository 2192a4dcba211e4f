// Several schemas in one headless run.
#include "app/SchemasRun.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include "app/BatchRun.h"
#include "app/ReportTargetCheck.h"
#include "app/TerminalSafeStream.h"
#include "engine/ObjectFileName.h"
#include "engine/ReportFile.h"
#include "scripting/connection/ConnectStringParts.h"

namespace fs = std::filesystem;

namespace {

// Appends the file at path to report and removes it; false when the report
// could not be written.
bool AppendPart(const fs::path& path, ReportFile& report) {
  std::ifstream part(path, std::ios::binary);
  char buffer[65536];
  bool written = true;
  while (written && part) {
    part.read(buffer, sizeof buffer);
    written = report.Write(std::string_view(buffer, static_cast<std::size_t>(part.gcount())));
  }
  part.close();
  std::error_code ignored;
  fs::remove(path, ignored);
  return written && report.Flush();
}

bool StoppedBySignal(int status) {
  return status == BatchStoppedByInterrupt || status == BatchStoppedByTerminate;
}

}  // namespace

int RunSchemas(const BatchOptions& options, SettingsStore& store, std::ostream& output,
               std::ostream& errorStream, int progressFd) {
  TerminalSafeStream errors(errorStream);
  if (!ParseConnectString(options.ConnectString).Schema.empty()) {
    errors << "quillmark: --schemas names the schemas: CONNECT must not name one\n";
    return BatchBadArguments;
  }
  const bool split = !options.SplitDirectory.empty();
  const std::string target =
      options.ReportFile.empty() ? std::string(ReportFile::StandardOutputName) : options.ReportFile;
  ReportFile report;
  if (!split) {
    if (std::optional<std::string> problem =
            ReportClobbersInput(target == ReportFile::StandardOutputName ? std::string() : target,
                                {{"the settings file", options.SettingsFile},
                                 {"the --config file", options.ConfigFile},
                                 {"the --password-file", options.PasswordFile}})) {
      errors << "quillmark: " << *problem << "\n";
      return BatchBadArguments;
    }
  }
  int status = BatchFinished;
  for (const std::string& schema : options.Schemas) {
    BatchOptions one = options;
    one.Schemas.clear();
    // The schema prefix of the connect string, as written.
    one.ConnectString = schema + ":" + options.ConnectString;
    const fs::path part =
        fs::temp_directory_path() / ("quillmark-schema-" + std::to_string(::getpid()) + ".sql");
    if (split) {
      one.SplitDirectory =
          (fs::path(options.SplitDirectory) / ObjectFileName(SchemaNameOfPrefix(schema))).string();
    } else {
      one.ReportFile = part.string();
    }
    const int schemaStatus = RunBatch(one, store, output, errorStream, progressFd);
    if (!split && fs::exists(part)) {
      if ((!report.IsOpen() && !report.Create(target)) || !AppendPart(part, report)) {
        errors << "quillmark: the report could not be written to " << target << "\n";
        return BatchReportNotWritten;
      }
    }
    if (StoppedBySignal(schemaStatus)) {
      report.Close();
      return schemaStatus;
    }
    if (status == BatchFinished) {
      status = schemaStatus;
    }
  }
  if (report.IsOpen() && !report.Close()) {
    errors << "quillmark: the report could not be written to " << target << "\n";
    return BatchReportNotWritten;
  }
  return status;
}
