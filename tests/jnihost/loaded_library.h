#pragma once
// Loads a deliverable DLL the way the Java VM does, and finds its exports by
// their plain names.

#include <windows.h>

#include <stdexcept>
#include <string>

namespace kel::test {

class LoadedLibrary {
 public:
  explicit LoadedLibrary(const std::string& path) : module_(::LoadLibraryA(path.c_str())) {
    if (!module_) throw std::runtime_error("cannot load " + path + ", error " + std::to_string(::GetLastError()));
  }
  ~LoadedLibrary() { ::FreeLibrary(module_); }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  template <typename Function>
  Function* get(const char* name) const {
    FARPROC address = ::GetProcAddress(module_, name);
    if (!address) throw std::runtime_error(std::string("no export named ") + name);
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(address));
  }

  HMODULE handle() const noexcept { return module_; }

 private:
  HMODULE module_;
};

}  // namespace kel::test
