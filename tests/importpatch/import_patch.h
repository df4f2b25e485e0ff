#pragma once
// Swaps one entry of a loaded module's import table, so a test can watch (or
// refuse) the platform calls that module makes; the entry is put back when
// the patch goes.

#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace kel::test {

class ImportPatch {
 public:
  ImportPatch(HMODULE module, const char* dll, const char* function, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
      if (_stricmp(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
      auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
      auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
      for (; names->u1.AddressOfData; ++names, ++slots) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
        const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
        if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
        slot_ = reinterpret_cast<void**>(&slots->u1.Function);
        original_ = write(replacement);
        return;
      }
    }
    throw std::runtime_error(std::string("the module does not import ") + function);
  }
  ~ImportPatch() { write(original_); }
  ImportPatch(const ImportPatch&) = delete;
  ImportPatch& operator=(const ImportPatch&) = delete;

  // What the entry held before: the function the module would have called.
  void* original() const noexcept { return original_; }

 private:
  void* write(void* value) {
    DWORD protection;
    ::VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection);
    void* previous = *slot_;
    *slot_ = value;
    ::VirtualProtect(slot_, sizeof *slot_, protection, &protection);
    return previous;
  }

  void** slot_ = nullptr;
  void* original_ = nullptr;
};

}  // namespace kel::test
