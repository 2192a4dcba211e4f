// Platform branches of DynamicLibrary and SetEnvironmentDefault.
#include "oracle/DynamicLibrary.h"

#include <cstdlib>
#include <string>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

void* OpenModule(const std::string& fileName) {
#ifdef _WIN32
  return reinterpret_cast<void*>(LoadLibraryA(fileName.c_str()));
#else
  // Closing releases our reference but never unmaps the code: a client
  // library may leave threads and exit handlers behind that still run it.
  return dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
#endif
}

void CloseModule(void* module) {
#ifdef _WIN32
  FreeLibrary(reinterpret_cast<HMODULE>(module));
#else
  dlclose(module);
#endif
}

void* FindModuleSymbol(void* module, const char* name) {
#ifdef _WIN32
  return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(module), name));
#else
  return dlsym(module, name);
#endif
}

}  // namespace

DynamicLibrary::~DynamicLibrary() {
  Close();
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : module_(std::exchange(other.module_, nullptr)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    Close();
    module_ = std::exchange(other.module_, nullptr);
  }
  return *this;
}

bool DynamicLibrary::Open(const std::string& fileName) {
  Close();
  module_ = OpenModule(fileName);
  openError_.clear();
  if (module_ == nullptr) {
#ifdef _WIN32
    openError_ = "system error " + std::to_string(GetLastError());
#else
    const char* reason = dlerror();
    openError_ = reason != nullptr ? reason : "unknown reason";
#endif
  }
  return module_ != nullptr;
}

void DynamicLibrary::Close() {
  if (module_ != nullptr) {
    CloseModule(std::exchange(module_, nullptr));
  }
}

void* DynamicLibrary::Symbol(const char* name) const {
  return module_ != nullptr ? FindModuleSymbol(module_, name) : nullptr;
}

void SetEnvironmentDefault(const char* name, const char* value) {
#ifdef _WIN32
  size_t length = 0;
  if (getenv_s(&length, nullptr, 0, name) == 0 && length == 0) {
    _putenv_s(name, value);
  }
#else
  setenv(name, value, 0);
#endif
}
