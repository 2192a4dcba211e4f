// Parsing the headless command line and selecting the object kinds of its run.
#include "app/BatchOptions.h"

#include <algorithm>

#include "engine/RunSettings.h"

namespace {

struct KindFlag {
  const char* name;
  int RunSettings::*flag;
};

constexpr KindFlag KindFlags[] = {
    {"privileges", &RunSettings::DoPrivilege},
    {"synonyms", &RunSettings::DoSynonym},
    {"db-links", &RunSettings::DoDatabaseLink},
    {"sequences", &RunSettings::DoSequence},
    {"tables", &RunSettings::DoTable},
    {"indexes", &RunSettings::DoIndex},
    {"constraints", &RunSettings::DoConstraint},
    {"data", &RunSettings::DoData},
    {"mview-logs", &RunSettings::DoMviewLog},
    {"triggers", &RunSettings::DoTrigger},
    {"views", &RunSettings::DoViewSource},
    {"functions", &RunSettings::DoFunction},
    {"packages", &RunSettings::DoPackage},
    {"package-bodies", &RunSettings::DoPackageBody},
    {"procedures", &RunSettings::DoProcedure},
    {"types", &RunSettings::DoType},
    {"type-bodies", &RunSettings::DoTypeBody},
    {"materialized-views", &RunSettings::DoMaterializedView},
    {"object-grants", &RunSettings::DoObjectGrant},
};

// The value of an option that needs one, or the reason it is missing.
std::optional<std::string> TakeValue(const std::vector<std::string>& arguments, std::size_t& i,
                                     std::string& value) {
  if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
    return arguments[i] + " needs a value";
  }
  value = arguments[++i];
  return std::nullopt;
}

// The entries of "a,b,c", empty ones included.
std::vector<std::string> CommaSeparated(const std::string& list) {
  std::vector<std::string> entries;
  std::size_t start = 0;
  for (std::size_t comma = list.find(','); comma != std::string::npos;
       comma = list.find(',', start)) {
    entries.push_back(list.substr(start, comma - start));
    start = comma + 1;
  }
  entries.push_back(list.substr(start));
  return entries;
}

// "A,B,..." into names, duplicates kept once; the reason when an entry is
// empty.
std::optional<std::string> ParseSchemaList(const std::string& list,
                                           std::vector<std::string>& schemas) {
  schemas.clear();
  for (const std::string& name : CommaSeparated(list)) {
    if (name.empty()) {
      return std::string("--schemas has an empty entry");
    }
    if (std::find(schemas.begin(), schemas.end(), name) == schemas.end()) {
      schemas.push_back(name);
    }
  }
  return std::nullopt;
}

}  // namespace

const std::vector<std::string>& BatchKindNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    for (const KindFlag& kind : KindFlags) {
      all.emplace_back(kind.name);
    }
    return all;
  }();
  return names;
}

std::optional<std::vector<std::string>> ParseKindList(const std::string& list, std::string& error) {
  std::vector<std::string> kinds;
  const std::vector<std::string>& known = BatchKindNames();
  for (const std::string& name : CommaSeparated(list)) {
    if (std::find(known.begin(), known.end(), name) == known.end()) {
      error = name.empty() ? "--kinds has an empty entry" : "unknown kind '" + name + "'";
      return std::nullopt;
    }
    if (std::find(kinds.begin(), kinds.end(), name) == kinds.end()) {
      kinds.push_back(name);
    }
  }
  return kinds;
}

std::optional<std::string> ParseBatchArguments(const std::vector<std::string>& arguments,
                                               BatchOptions& options) {
  options = BatchOptions();
  options.Kinds = BatchKindNames();
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    std::optional<std::string> problem;
    if (argument == "--help" || argument == "-h") {
      options.Help = true;
    } else if (argument == "--version") {
      options.Version = true;
    } else if (argument == "--quiet" || argument == "-q") {
      options.Quiet = true;
    } else if (argument == "--strict") {
      options.Strict = true;
    } else if (argument == "--stable") {
      options.Stable = true;
    } else if (argument == "--crlf") {
      options.CrLf = true;
    } else if (argument == "--batch") {
      options.Batch = true;
    } else if (argument == "--connect") {
      problem = TakeValue(arguments, i, options.ConnectString);
    } else if (argument == "--password-file") {
      problem = TakeValue(arguments, i, options.PasswordFile);
    } else if (argument == "--report") {
      problem = TakeValue(arguments, i, options.ReportFile);
    } else if (argument == "--query") {
      problem = TakeValue(arguments, i, options.Query);
    } else if (argument == "--query-file") {
      problem = TakeValue(arguments, i, options.QueryFile);
    } else if (argument == "--schemas") {
      std::string list;
      problem = TakeValue(arguments, i, list);
      if (!problem) {
        problem = ParseSchemaList(list, options.Schemas);
      }
    } else if (argument == "--split") {
      problem = TakeValue(arguments, i, options.SplitDirectory);
    } else if (argument == "--config") {
      problem = TakeValue(arguments, i, options.ConfigFile);
    } else if (argument == "--settings") {
      problem = TakeValue(arguments, i, options.SettingsDirectory);
    } else if (argument == "--kinds") {
      std::string list;
      problem = TakeValue(arguments, i, list);
      if (!problem) {
        std::string error;
        std::optional<std::vector<std::string>> kinds = ParseKindList(list, error);
        if (!kinds) {
          return error;
        }
        options.Kinds = std::move(*kinds);
        options.KindsGiven = true;
      }
    } else {
      problem = "unknown argument '" + argument + "'";
    }
    if (problem) {
      return problem;
    }
  }
  if (options.Help || options.Version) {
    return std::nullopt;
  }
  if (!options.Batch) {
    return std::string("the headless run needs --batch");
  }
  if (options.ConnectString.empty() && options.ConfigFile.empty()) {
    return std::string("--batch needs --connect CONNECT or --config FILE");
  }
  if (!options.Query.empty() && !options.QueryFile.empty()) {
    return std::string("--query and --query-file cannot be used together");
  }
  if (!options.Schemas.empty() && options.ConnectString.empty()) {
    return std::string("--schemas needs --connect CONNECT");
  }
  if (!options.Schemas.empty() && (!options.Query.empty() || !options.QueryFile.empty())) {
    return std::string("--schemas scripts schemas, not the rows of a query");
  }
  if (!options.SplitDirectory.empty() && !options.ReportFile.empty()) {
    return std::string("--split and --report cannot be used together");
  }
  if (!options.SplitDirectory.empty() && (!options.Query.empty() || !options.QueryFile.empty())) {
    return std::string("--split scripts a schema, not the rows of a query");
  }
  return std::nullopt;
}

bool WantsHeadless(const std::vector<std::string>& arguments) {
  return std::any_of(arguments.begin(), arguments.end(), [](const std::string& argument) {
    return argument == "--batch" || argument == "--help" || argument == "-h" ||
           argument == "--version";
  });
}

void SelectKinds(RunSettings& settings, const std::vector<std::string>& kinds) {
  for (const KindFlag& kind : KindFlags) {
    settings.*kind.flag = std::find(kinds.begin(), kinds.end(), kind.name) != kinds.end() ? 1 : 0;
  }
}

std::string BatchUsage() {
  // The kind names, wrapped under the option's text.
  const std::string indent(21, ' ');
  std::string kinds;
  std::size_t lineLength = 0;
  for (const std::string& name : BatchKindNames()) {
    if (!kinds.empty()) {
      kinds += ",";
      ++lineLength;
      if (lineLength + 1 + name.size() > 58) {
        kinds += "\n" + indent;
        lineLength = 0;
      } else {
        kinds += " ";
        ++lineLength;
      }
    }
    kinds += name;
    lineLength += name.size();
  }
  return "Usage:\n"
         "  quillmark [--settings DIR]          the desktop program\n"
         "  quillmark --batch --connect CONNECT [--password-file FILE] [--kinds LIST]\n"
         "            [--report FILE] [--settings DIR] [--quiet] [--strict]\n"
         "            [--stable] [--crlf] [--split DIR] [--schemas A,B,...]\n"
         "  quillmark --batch --connect CONNECT [--password-file FILE]\n"
         "            (--query TEXT | --query-file FILE) [--report FILE] [--settings DIR]\n"
         "  quillmark --batch --config FILE.qmo [--connect CONNECT] [--kinds LIST]\n"
         "            [--report FILE] [--settings DIR] [--quiet] [--strict]\n"
         "  quillmark --help | --version\n"
         "\n"
         "--batch scripts one schema without opening a window (no display is needed).\n"
         "\n"
         "  --connect CONNECT  [schema:]user[/password]@database; the schema defaults to the\n"
         "                     user. The database may be an Easy Connect string\n"
         "                     (host:1521/service). Without a password it is taken from\n"
         "                     --password-file, else from the environment variable\n"
         "                     QUILLMARK_PASSWORD, else read from the terminal without echo.\n"
         "                     Warning: a password given in CONNECT can be seen by other\n"
         "                     users in the process list; prefer one of the other ways,\n"
         "                     which also take passwords with \"@\", \"/\" or \":\".\n"
         "  --password-file FILE  the password is the first line of FILE (keep it\n"
         "                     readable by you alone).\n"
         "  --kinds LIST       comma-separated object kinds to script (default: all):\n"
         "                     " +
         kinds +
         "\n"
         "  --query TEXT       script the rows of one query as INSERT statements instead\n"
         "                     of the schema's objects; only a query is ever executed.\n"
         "  --query-file FILE  the same with the query read from FILE.\n"
         "  --report FILE      write the report to FILE as the run goes; without it, or\n"
         "                     with \"-\", the report goes to standard output.\n"
         "  --config FILE.qmo  run the setup saved in a configuration file (its connect\n"
         "                     string, kinds, selections, data conditions and report file);\n"
         "                     --connect, --kinds and --report override the file. A connect\n"
         "                     string without a password takes it as --connect does.\n"
         "  --settings DIR     keep the settings store in DIR instead of the user's own\n"
         "                     (\"Settings\"/\"OCIVER\" and \"OCIDLL\" there choose the client\n"
         "                     library).\n"
         "  --quiet, -q        no progress line and no finish message; errors are still shown.\n"
         "  --strict           objects of the schema that the report does not hold because\n"
         "                     the tool does not script their kind make the exit status 5.\n"
         "  --stable           a report that is the same byte for byte while the schema\n"
         "                     stays the same: no date, no elapsed time, lines ending in LF.\n"
         "  --crlf             lines end in CR LF (the default without --stable).\n"
         "  --split DIR        one file per object under DIR, in a folder per kind, and\n"
         "                     DIR/install.sql that runs them all in restore order;\n"
         "                     always stable. Files of objects that are gone are removed.\n"
         "  --schemas A,B,...  script several schemas, one after the other, into one report\n"
         "                     (or into DIR/A, DIR/B with --split); CONNECT names no schema.\n"
         "\n"
         "Messages and questions go to standard error; a question takes its default answer.\n"
         "When standard error is a terminal, one line there shows the run's phase, status,\n"
         "progress and elapsed time. Ctrl+C (or SIGTERM) stops the run as the desktop's Stop\n"
         "command does: the report written so far is kept and ends with the stop line; a\n"
         "second Ctrl+C ends the program at once.\n"
         "\n"
         "Exit status: 0 finished with a complete report, 2 bad arguments or an unreadable\n"
         "configuration file, 3 no connection, 4 the report could not be written, 5 the\n"
         "report is incomplete (the objects that could not be scripted are named at its end\n"
         "and on standard error; with --strict also the objects of kinds the tool does not\n"
         "script), 130 stopped by Ctrl+C (SIGINT), 143 stopped by SIGTERM.\n";
}

std::string BatchVersion() {
  return std::string("Quillmark for Oracle ") + QUILLMARK_VERSION + "\n";
}
