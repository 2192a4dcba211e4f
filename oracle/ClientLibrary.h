// The Oracle client library of one session: which file a library choice
// ("Settings"\"OCIVER") stands for, loading it at run time, the table of entry
// points looked up in it, and whether the session can use it at all.
//
// File names per choice. On Windows the client's own DLL names are used; on
// Linux the three older DLLs of choice 0 stand for the versioned names of the
// Instant Client releases that are still common:
//
//   choice   Windows        Linux               kind
//   0        OCI.DLL        libclntsh.so        0
//            ORA805.DLL     libclntsh.so.19.1   85
//            ORA804.DLL     libclntsh.so.18.1   84
//            ORA803.DLL     libclntsh.so.12.1   83
//   83/84/85 as in choice 0, one name only      the choice
//   99       "OCIDLL", default OCIW32.DLL (Windows) or libclntsh.so (Linux)
//   70..73   Oracle 7 clients: nothing is loaded and the library is refused,
//            because no code path of the program can serve them
//   other    nothing is loaded
//
// When nothing could be loaded the failure message is shown (for a file that
// "OCIDLL" names, a message of its own with the loader's reason) and the process
// ends with exit code 1 (through EndProcess). A library that lacks any of the
// entry points is not an OCI 8 client: it is released again and refused, and
// every logon attempt then fails with the refusal text instead of calling a
// null pointer.
#pragma once

#include <string>
#include <vector>

#include "oracle/ClientEntryPoints.h"
#include "oracle/DynamicLibrary.h"

class ClientMessages;
class SettingsStore;

class ClientLibrary {
 public:
  struct Candidate {
    std::string fileName;
    int kind;
  };

  static constexpr const char* LoadFailureText =
      "Could not locate installation of Oracle 8 or above client software. If Oracle 8 or above "
      "is installed on this machine, please make sure the 'bin' directory is on the system path.";

  ClientLibrary(SettingsStore& settings, ClientMessages& messages);

  // Loads according to choice and returns the library kind.
  int Load(int choice);
  void Unload();

  // The files that choice tries, in order (empty for choices that load nothing).
  std::vector<Candidate> Candidates(int choice) const;

  bool IsUsable() const { return module_.IsOpen() && refusal_.empty(); }
  // Why the library cannot be used; empty when it can.
  const std::string& RefusalText() const { return refusal_; }
  // True when the refusal has already been shown (the load failure itself).
  bool RefusalShown() const { return refusalShown_; }
  const std::string& FileName() const { return fileName_; }
  const ClientEntryPoints& EntryPoints() const { return entryPoints_; }

 private:
  void Refuse(std::string reason);

  SettingsStore& settings_;
  ClientMessages& messages_;
  DynamicLibrary module_;
  ClientEntryPoints entryPoints_;
  std::string fileName_;
  std::string refusal_;
  bool refusalShown_ = false;
};
