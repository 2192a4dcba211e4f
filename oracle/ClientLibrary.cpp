// Choice table, loading and refusal of the Oracle client library (see
// ClientLibrary.h).
#include "oracle/ClientLibrary.h"

#include "config/SettingsStore.h"
#include "oracle/ClientMessages.h"
#include "oracle/ProcessExit.h"

namespace {

#ifdef _WIN32
constexpr const char* CurrentClientName = "OCI.DLL";
constexpr const char* Release805Name = "ORA805.DLL";
constexpr const char* Release804Name = "ORA804.DLL";
constexpr const char* Release803Name = "ORA803.DLL";
constexpr const char* DefaultNamedLibrary = "OCIW32.DLL";
#else
constexpr const char* CurrentClientName = "libclntsh.so";
constexpr const char* Release805Name = "libclntsh.so.19.1";
constexpr const char* Release804Name = "libclntsh.so.18.1";
constexpr const char* Release803Name = "libclntsh.so.12.1";
constexpr const char* DefaultNamedLibrary = "libclntsh.so";
#endif

bool IsOracle7Choice(int choice) {
  return choice >= 70 && choice <= 73;
}

}  // namespace

ClientLibrary::ClientLibrary(SettingsStore& settings, ClientMessages& messages)
    : settings_(settings), messages_(messages) {}

std::vector<ClientLibrary::Candidate> ClientLibrary::Candidates(int choice) const {
  switch (choice) {
    case 0:
      return {
          {CurrentClientName, 0}, {Release805Name, 85}, {Release804Name, 84}, {Release803Name, 83}};
    case 83:
      return {{Release803Name, 83}};
    case 84:
      return {{Release804Name, 84}};
    case 85:
      return {{Release805Name, 85}};
    case 99:
      return {{settings_.GetString("Settings", "OCIDLL", DefaultNamedLibrary), 99}};
    default:
      return {};
  }
}

int ClientLibrary::Load(int choice) {
  Unload();
  if (IsOracle7Choice(choice)) {
    Refuse("Oracle 7 client software (library choice " + std::to_string(choice) +
           ") is not supported. Please install Oracle 8 or above client software and set the "
           "library choice to 0.");
    return choice;
  }

  // The client reads NLS_LANG when its environment is created; ask for UTF-8,
  // the program's own text encoding, unless the user chose otherwise.
  SetEnvironmentDefault("NLS_LANG", "AMERICAN_AMERICA.AL32UTF8");

  const std::vector<Candidate> candidates = Candidates(choice);
  int kind = candidates.empty() ? choice : candidates.back().kind;
  for (const Candidate& candidate : candidates) {
    if (module_.Open(candidate.fileName)) {
      kind = candidate.kind;
      fileName_ = candidate.fileName;
      break;
    }
  }
  if (!module_.IsOpen()) {
    const std::string text = choice == 99 && settings_.Contains("Settings", "OCIDLL")
                                 ? "The Oracle client library named by the setting OCIDLL, \"" +
                                       candidates.front().fileName +
                                       "\", could not be loaded: " + module_.OpenError()
                                 : std::string(LoadFailureText);
    messages_.Show(text, MessageKind::Error);
    EndProcess(1);
    // Only a replaced exit handler gets here: stay without a library.
    Refuse(text);
    refusalShown_ = true;
    return kind;
  }

  const std::string missing = entryPoints_.Resolve(module_);
  if (!missing.empty()) {
    Refuse("The Oracle client library \"" + fileName_ +
           "\" cannot be used: it lacks the entry "
           "point " +
           missing + ".");
  }
  return kind;
}

void ClientLibrary::Unload() {
  entryPoints_.Clear();
  module_.Close();
  fileName_.clear();
  refusal_.clear();
  refusalShown_ = false;
}

void ClientLibrary::Refuse(std::string reason) {
  entryPoints_.Clear();
  module_.Close();
  refusal_ = std::move(reason);
}
