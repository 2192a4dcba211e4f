// A shared library opened at run time, closed when the object goes away. The
// platform calls (dlopen/dlsym on Linux, LoadLibrary/GetProcAddress on
// Windows) live only in DynamicLibrary.cpp.
#pragma once

#include <string>

class DynamicLibrary {
 public:
  DynamicLibrary() = default;
  ~DynamicLibrary();
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;
  DynamicLibrary(DynamicLibrary&& other) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;

  // Opens fileName through the system loader's own search (no directory is
  // added). Returns false, and stays closed, when the loader cannot load it.
  // On Linux the code stays mapped after Close (see DynamicLibrary.cpp).
  bool Open(const std::string& fileName);
  void Close();
  bool IsOpen() const { return module_ != nullptr; }
  // The system loader's reason for the last failed Open.
  const std::string& OpenError() const { return openError_; }

  // Address of an exported symbol, or null when the library lacks it.
  void* Symbol(const char* name) const;

 private:
  void* module_ = nullptr;
  std::string openError_;
};

// Sets an environment variable for this process unless it is already set.
void SetEnvironmentDefault(const char* name, const char* value);
