// The *.qmo record stream: integers as 4 little-endian bytes, texts with a
// 1-, 3- or 7-byte length prefix, lists as a count and their texts, the data
// conditions as a count and key/value pairs, then the named switches as a
// count and name/integer pairs.
#include "config/ConfigurationFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The integer and text records 3 to 70, in file order. Integers hold a value
// of their range (flags 0 or 1): the writer stores the nearest one, the reader
// refuses any other, which only damage can have put there.
struct ScalarRecord {
  const char* name;
  int RunSettings::*number;  // null for a text record
  std::string RunSettings::*text;
  int low = 0;
  int high = 1;
};

#define QM_FLAG(field) \
  { #field, &RunSettings::field, nullptr }
#define QM_INT(field, low, high) \
  { #field, &RunSettings::field, nullptr, low, high }
#define QM_TEXT(field) \
  { #field, nullptr, &RunSettings::field }
const ScalarRecord ScalarRecords[] = {
    QM_INT(SpecialNameMode, 0, 2),
    QM_FLAG(IgnoreLastSequenceValue),
    QM_FLAG(AutoSave),
    QM_INT(AutoSaveLines, 1, 999999),
    QM_TEXT(ReportFileName),
    QM_FLAG(ReportToFile),
    QM_INT(TriggerSourceLimit, 100, 64000),
    QM_FLAG(ColumnIgnoreLengthDifferences),
    QM_FLAG(DataIgnoreCase),
    QM_FLAG(DataIgnoreTrailingSpaces),
    QM_FLAG(DataIgnoreFractionalSeconds),
    QM_FLAG(DataCompareNumericByValue),
    QM_FLAG(DataIgnoreSeconds),
    QM_FLAG(DataIgnoreLeadingSpaces),
    QM_FLAG(DoTableCommon),
    QM_FLAG(DoViewCommon),
    QM_FLAG(DoPackageBodyCommon),
    QM_FLAG(DoPackageCommon),
    QM_FLAG(DoTypeCommon),
    QM_FLAG(DoTypeBodyCommon),
    QM_FLAG(DoTriggerCommon),
    QM_FLAG(DoViewSourceCommon),
    QM_FLAG(DoFunctionCommon),
    QM_FLAG(DoProcedureCommon),
    QM_FLAG(DoTableSkipped),
    QM_FLAG(DoViewSkipped),
    QM_FLAG(DoFunctionSkipped),
    QM_FLAG(DoPackageSkipped),
    QM_FLAG(DoTypeSkipped),
    QM_FLAG(DoTypeBodySkipped),
    QM_FLAG(DoTriggerSkipped),
    QM_FLAG(DoViewSourceSkipped),
    QM_FLAG(DoPackageBodySkipped),
    QM_FLAG(DoProcedureSkipped),
    QM_FLAG(DoSystemPrivileges),
    QM_FLAG(DoRolePrivileges),
    QM_FLAG(CompareConstraintColumns),
    QM_INT(ConstraintNameMode, 0, 2),
    QM_FLAG(CompareTriggerBody),
    QM_FLAG(DoObjectPrivileges),
    QM_FLAG(DoTable),
    QM_FLAG(DoPrivilege),
    QM_FLAG(DoSequence),
    QM_FLAG(DoConstraint),
    QM_FLAG(DoTrigger),
    QM_FLAG(DoProcedure),
    QM_FLAG(DoType),
    QM_FLAG(DoTypeBody),
    QM_FLAG(DoViewSource),
    QM_FLAG(DoFunction),
    QM_FLAG(DoPackage),
    QM_FLAG(DoPackageBody),
    QM_FLAG(DoIndex),
    QM_FLAG(DoData),
    QM_FLAG(NoDiffData),
    QM_FLAG(NoDiffView),
    QM_FLAG(NoDiffColumns),
    QM_FLAG(NoDiffTrigger),
    QM_FLAG(NoDiffFunction),
    QM_FLAG(NoDiffPackage),
    QM_FLAG(NoDiffPackageBody),
    QM_FLAG(NoDiffType),
    QM_FLAG(NoDiffTypeBody),
    QM_FLAG(NoDiffViewSource),
    QM_FLAG(NoDiffProcedure),
    QM_FLAG(UseOdbcDataTypes),
    QM_FLAG(PrivilegeTrimSpaces),
    QM_TEXT(StatementText),
};
#undef QM_INT
#undef QM_FLAG
#undef QM_TEXT

// Records 71 to 81.
struct ListRecord {
  const char* name;
  std::vector<std::string> RunSettings::*list;
};
const ListRecord ListRecords[] = {
    {"IgnoredColumnPatterns", &RunSettings::IgnoredColumnPatterns},
    {"ExcludedTables", &RunSettings::ExcludedTables},
    {"ExcludedViews", &RunSettings::ExcludedViews},
    {"ExcludedProcedures", &RunSettings::ExcludedProcedures},
    {"ExcludedFunctions", &RunSettings::ExcludedFunctions},
    {"ExcludedPackages", &RunSettings::ExcludedPackages},
    {"ExcludedPackageBodies", &RunSettings::ExcludedPackageBodies},
    {"ExcludedTypes", &RunSettings::ExcludedTypes},
    {"ExcludedTypeBodies", &RunSettings::ExcludedTypeBodies},
    {"ExcludedTriggers", &RunSettings::ExcludedTriggers},
    {"ExcludedViewSources", &RunSettings::ExcludedViewSources},
};

// Record 83, the named switches: a count and (name, integer) pairs. Kinds
// added after the fixed records live here by name, so that a file without
// this record (an older version's) turns them on, and a newer file's names
// that this version does not know are passed over.
struct NamedSwitch {
  const char* name;
  int RunSettings::*number;
};
const NamedSwitch NamedSwitches[] = {
    {"DoSynonym", &RunSettings::DoSynonym},
    {"DoObjectGrant", &RunSettings::DoObjectGrant},
    {"DoDatabaseLink", &RunSettings::DoDatabaseLink},
    {"DoMaterializedView", &RunSettings::DoMaterializedView},
    {"DoMviewLog", &RunSettings::DoMviewLog},
};

constexpr int FirstScalarRecord = 3;
constexpr int FirstListRecord = FirstScalarRecord + static_cast<int>(std::size(ScalarRecords));
constexpr int ConditionsRecord = FirstListRecord + static_cast<int>(std::size(ListRecords));
constexpr int NamedSwitchRecord = ConditionsRecord + 1;
static_assert(FirstListRecord == 71 && ConditionsRecord == 82, "the record table is fixed");

class RecordWriter {
 public:
  void U32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
      bytes_ += static_cast<char>((value >> shift) & 0xFF);
    }
  }
  void Text(const std::string& text) {
    const std::size_t length = text.size();
    if (length < 0xFF) {
      bytes_ += static_cast<char>(length);
    } else if (length < 0xFFFE) {
      bytes_ += '\xFF';
      U16(static_cast<std::uint16_t>(length));
    } else {
      bytes_ += '\xFF';
      U16(0xFFFF);
      U32(static_cast<std::uint32_t>(length));
    }
    bytes_ += text;
  }
  std::string Take() { return std::move(bytes_); }

 private:
  void U16(std::uint16_t value) {
    bytes_ += static_cast<char>(value & 0xFF);
    bytes_ += static_cast<char>(value >> 8);
  }
  std::string bytes_;
};

// Reads records from the bytes of a file; every read checks what is left
// before it takes or allocates anything.
class RecordReader {
 public:
  explicit RecordReader(std::string_view bytes) : bytes_(bytes) {}

  bool U32(std::uint32_t& value) {
    if (Left() < 4) {
      return Fail("the file ends early");
    }
    value = 0;
    for (int i = 3; i >= 0; --i) {
      value = (value << 8) | Byte(at_ + static_cast<std::size_t>(i));
    }
    at_ += 4;
    return true;
  }

  bool Text(std::string& text) {
    std::uint64_t length = 0;
    bool wide = false;
    if (!Length(length, wide)) {
      return false;
    }
    const std::uint64_t size = wide ? length * 2 : length;
    if (size > Left()) {
      return Fail("a length of " + std::to_string(length) + " is larger than the rest of the file");
    }
    const std::string_view chars = bytes_.substr(at_, static_cast<std::size_t>(size));
    at_ += static_cast<std::size_t>(size);
    text = wide ? Utf8FromUtf16(chars) : std::string(chars);
    return true;
  }

  // A count of elements of at least minimumSize bytes each.
  bool Count(std::uint32_t& count, std::size_t minimumSize) {
    if (!U32(count)) {
      return false;
    }
    if (count > Left() / minimumSize) {
      return Fail("a count of " + std::to_string(count) + " is larger than the rest of the file");
    }
    return true;
  }

  // Fails with problem: a value read whole but not one the record can hold.
  bool Refuse(std::string problem) { return Fail(std::move(problem)); }

  bool AtEnd() const { return Left() == 0; }
  const std::string& Problem() const { return problem_; }
  std::size_t Left() const { return bytes_.size() - at_; }

 private:
  unsigned Byte(std::size_t i) const { return static_cast<unsigned char>(bytes_[i]); }

  bool Fail(std::string problem) {
    problem_ = std::move(problem);
    return false;
  }

  bool U16(std::uint16_t& value) {
    if (Left() < 2) {
      return Fail("the file ends early");
    }
    value = static_cast<std::uint16_t>(Byte(at_) | (Byte(at_ + 1) << 8));
    at_ += 2;
    return true;
  }

  // The length prefix; 0xFF 0xFFFE marks a wide text whose length follows.
  bool Length(std::uint64_t& length, bool& wide) {
    if (Left() < 1) {
      return Fail("the file ends early");
    }
    const unsigned first = Byte(at_++);
    if (first < 0xFF) {
      length = first;
      return true;
    }
    std::uint16_t second = 0;
    if (!U16(second)) {
      return false;
    }
    if (second == 0xFFFE) {
      if (wide) {
        return Fail("a text is marked wide twice");
      }
      wide = true;
      return Length(length, wide);
    }
    if (second < 0xFFFF) {
      length = second;
      return true;
    }
    std::uint32_t full = 0;
    if (!U32(full)) {
      return false;
    }
    length = full;
    return true;
  }

  static void AppendUtf8(std::string& out, char32_t point) {
    if (point < 0x80) {
      out += static_cast<char>(point);
    } else if (point < 0x800) {
      out += static_cast<char>(0xC0 | (point >> 6));
      out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
      out += static_cast<char>(0xE0 | (point >> 12));
      out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (point >> 18));
      out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (point & 0x3F));
    }
  }

  // The program's texts are UTF-8; a lone surrogate becomes U+FFFD.
  static std::string Utf8FromUtf16(std::string_view units) {
    std::string out;
    const auto unit = [&](std::size_t i) {
      return static_cast<char32_t>(static_cast<unsigned char>(units[2 * i]) |
                                   (static_cast<unsigned char>(units[2 * i + 1]) << 8));
    };
    const std::size_t count = units.size() / 2;
    for (std::size_t i = 0; i < count; ++i) {
      const char32_t first = unit(i);
      if (first >= 0xD800 && first <= 0xDBFF && i + 1 < count && unit(i + 1) >= 0xDC00 &&
          unit(i + 1) <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((first - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
        ++i;
      } else if (first >= 0xD800 && first <= 0xDFFF) {
        AppendUtf8(out, 0xFFFD);
      } else {
        AppendUtf8(out, first);
      }
    }
    return out;
  }

  std::string_view bytes_;
  std::size_t at_ = 0;
  std::string problem_;
};

std::optional<std::string> DecodeRecords(std::string_view bytes, ConfigurationHeader& header,
                                         RunSettings& settings);

// text with its control characters shown as \xNN, for messages.
std::string Printable(const std::string& text) {
  static const char hex[] = "0123456789abcdef";
  std::string shown;
  for (const char c : text.substr(0, 80)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      shown += std::string("\\x") + hex[byte >> 4] + hex[byte & 0xF];
    } else {
      shown += c;
    }
  }
  return text.size() > 80 ? shown + "..." : shown;
}

// A report file name is a path: no control characters and no longer than a
// path may be. An empty name (no file) is one too.
bool CheckPathText(RecordReader& reader, const std::string& name) {
  constexpr std::size_t longestPath = 4096;
  if (name.size() > longestPath) {
    return reader.Refuse("a name of " + std::to_string(name.size()) + " bytes is not a path");
  }
  if (std::any_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
      })) {
    return reader.Refuse("\"" + Printable(name) + "\" is not a path");
  }
  return true;
}

std::string RecordProblem(int record, const char* name, const std::string& problem) {
  return "Record " + std::to_string(record) + " (" + name + ") could not be read: " + problem + ".";
}

}  // namespace

std::string EncodeConfiguration(const std::string& connectString, const RunSettings& settings) {
  RecordWriter writer;
  writer.Text(ConfigurationVersion);
  writer.Text(connectString);
  for (const ScalarRecord& record : ScalarRecords) {
    if (record.number != nullptr) {
      const int value = std::clamp(settings.*record.number, record.low, record.high);
      writer.U32(static_cast<std::uint32_t>(value));
    } else {
      writer.Text(settings.*record.text);
    }
  }
  for (const ListRecord& record : ListRecords) {
    const std::vector<std::string>& list = settings.*record.list;
    writer.U32(static_cast<std::uint32_t>(list.size()));
    for (const std::string& element : list) {
      writer.Text(element);
    }
  }
  writer.U32(static_cast<std::uint32_t>(settings.DataConditions.size()));
  for (const auto& [table, condition] : settings.DataConditions) {
    writer.Text(table);
    writer.Text(condition);
  }
  writer.U32(static_cast<std::uint32_t>(std::size(NamedSwitches)));
  for (const NamedSwitch& named : NamedSwitches) {
    writer.Text(named.name);
    writer.U32(static_cast<std::uint32_t>(settings.*named.number));
  }
  return writer.Take();
}

std::optional<std::string> DecodeConfiguration(std::string_view bytes, ConfigurationHeader& header,
                                               RunSettings& settings) {
  ConfigurationHeader newHeader;
  RunSettings newSettings = settings;
  if (std::optional<std::string> problem = DecodeRecords(bytes, newHeader, newSettings)) {
    return problem;
  }
  header = std::move(newHeader);
  settings = std::move(newSettings);
  return std::nullopt;
}

namespace {

// Every named switch not in the file is on: what the file's version did not
// know of, it did not turn off.
bool ReadNamedSwitches(RecordReader& reader, RunSettings& settings) {
  for (const NamedSwitch& named : NamedSwitches) {
    settings.*named.number = 1;
  }
  if (reader.AtEnd()) {
    return true;
  }
  std::uint32_t count = 0;
  // A pair is at least a one-byte name and four bytes of value.
  if (!reader.Count(count, 5)) {
    return false;
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    std::string name;
    std::uint32_t value = 0;
    if (!reader.Text(name) || !reader.U32(value)) {
      return false;
    }
    for (const NamedSwitch& named : NamedSwitches) {
      if (name == named.name && value > 1) {
        return reader.Refuse("switch " + name + " is " + std::to_string(value) + ", not 0 or 1");
      }
      if (name == named.name) {
        settings.*named.number = static_cast<int>(static_cast<std::int32_t>(value));
      }
    }
  }
  return true;
}

std::optional<std::string> DecodeRecords(std::string_view bytes, ConfigurationHeader& header,
                                         RunSettings& settings) {
  RecordReader reader(bytes);
  if (!reader.Text(header.Version)) {
    return RecordProblem(1, "version", reader.Problem());
  }
  if (header.Version != ConfigurationVersion) {
    return RecordProblem(
        1, "version", "\"" + Printable(header.Version) + "\" is not a version this program reads");
  }
  if (!reader.Text(header.ConnectString)) {
    return RecordProblem(2, "connect string", reader.Problem());
  }
  int number = FirstScalarRecord;
  for (const ScalarRecord& record : ScalarRecords) {
    bool read = false;
    if (record.number != nullptr) {
      std::uint32_t value = 0;
      read = reader.U32(value);
      // Stored as the value's 32 bits, so a negative number reads as one.
      const int stored = static_cast<int>(static_cast<std::int32_t>(value));
      if (read && (stored < record.low || stored > record.high)) {
        read = reader.Refuse(std::to_string(stored) + " is not in " + std::to_string(record.low) +
                             " to " + std::to_string(record.high));
      }
      settings.*record.number = stored;
    } else {
      read = reader.Text(settings.*record.text);
    }
    if (read && record.text == &RunSettings::ReportFileName) {
      read = CheckPathText(reader, settings.ReportFileName);
    }
    if (!read) {
      return RecordProblem(number, record.name, reader.Problem());
    }
    ++number;
  }
  for (const ListRecord& record : ListRecords) {
    std::vector<std::string>& list = settings.*record.list;
    list.clear();
    std::uint32_t count = 0;
    bool read = reader.Count(count, 1);
    for (std::uint32_t i = 0; read && i < count; ++i) {
      read = reader.Text(list.emplace_back());
    }
    if (!read) {
      return RecordProblem(number, record.name, reader.Problem());
    }
    ++number;
  }
  settings.DataConditions.clear();
  std::uint32_t count = 0;
  bool read = reader.Count(count, 2);
  for (std::uint32_t i = 0; read && i < count; ++i) {
    std::string table;
    std::string condition;
    read = reader.Text(table) && reader.Text(condition);
    // A later duplicate key replaces an earlier one.
    settings.DataConditions[table] = condition;
  }
  if (!read) {
    return RecordProblem(ConditionsRecord, "DataConditions", reader.Problem());
  }
  if (!ReadNamedSwitches(reader, settings)) {
    return RecordProblem(NamedSwitchRecord, "named switches", reader.Problem());
  }
  // Later versions add switches to the named record; anything after it is
  // damage.
  if (reader.Left() != 0) {
    return "The file has " + std::to_string(reader.Left()) + " bytes more after its last record (" +
           std::to_string(NamedSwitchRecord) + ", named switches).";
  }
  settings.UpdateCommentPrefixes();
  settings.OwnTablesOnly = 1;
  settings.ColumnIgnoreNameCase = 0;
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ReadConfigurationFile(const std::string& path, std::string& bytes) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    return std::string("Could not open config file: ") + std::strerror(errno) + ".";
  }
  if (S_ISDIR(status.st_mode)) {
    return "Could not open config file: it is a folder.";
  }
  if (!S_ISREG(status.st_mode)) {
    return "Could not open config file: it is not a regular file.";
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    return std::string("Could not open config file: ") + std::strerror(errno) + ".";
  }
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  if (file.bad()) {
    return "Could not read config file.";
  }
  return std::nullopt;
}

std::optional<std::string> WriteConfigurationFile(const std::string& path,
                                                  const std::string& bytes) {
  std::string temporary = path + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());  // created with mode 0600
  if (fd < 0) {
    return "Could not open config file.";
  }
  std::size_t done = 0;
  bool written = true;
  while (written && done < bytes.size()) {
    const ssize_t count = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    written = count > 0;
    done += written ? static_cast<std::size_t>(count) : 0;
  }
  written = written && ::fsync(fd) == 0;
  written = ::close(fd) == 0 && written;
  if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
    const std::string reason = std::strerror(errno);
    std::remove(temporary.c_str());
    return "Could not write config file: " + reason;
  }
  return std::nullopt;
}
