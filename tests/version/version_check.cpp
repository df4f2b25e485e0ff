// Reads a binary's version resource back the way Windows Explorer shows it
// and compares it with what the build put in.
// Usage: version_check FILE VERSION ORIGINAL_FILENAME DESCRIPTION
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// CTest hands over the build's Linux paths, which Wine shows on drive Z:.
std::string windowsPath(std::string path) {
  if (path.starts_with('/')) path = "Z:" + path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string stringValue(const std::vector<char>& info, const std::string& name) {
  char* value = nullptr;
  UINT length = 0;
  const std::string path = "\\StringFileInfo\\040904B0\\" + name;
  if (!::VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return {};
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::puts("usage: version_check FILE VERSION ORIGINAL_FILENAME DESCRIPTION");
    return 2;
  }
  const std::string file = windowsPath(argv[1]);
  const std::string version = argv[2];
  const std::string originalName = argv[3];
  const std::string internalName = originalName.substr(0, originalName.rfind('.'));

  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(file.c_str(), &ignored);
  if (size == 0) {
    std::printf("%s has no version resource (error %lu)\n", file.c_str(), ::GetLastError());
    return 1;
  }
  std::vector<char> info(size);
  if (!::GetFileVersionInfoA(file.c_str(), 0, size, info.data())) {
    std::printf("cannot read the version resource of %s (error %lu)\n", file.c_str(), ::GetLastError());
    return 1;
  }

  int failures = 0;
  auto expect = [&](const char* what, const std::string& actual, const std::string& wanted) {
    const bool ok = actual == wanted;
    std::printf("%-16s \"%s\"%s\n", what, actual.c_str(), ok ? "" : (" but expected \"" + wanted + "\"").c_str());
    failures += ok ? 0 : 1;
  };
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedLength = 0;
  std::string fixedVersion;
  if (::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedLength) && fixed) {
    fixedVersion = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
                   "." + std::to_string(HIWORD(fixed->dwFileVersionLS));
  }
  expect("fixed version", fixedVersion, version);
  expect("FileVersion", stringValue(info, "FileVersion"), version);
  expect("ProductVersion", stringValue(info, "ProductVersion"), version);
  expect("ProductName", stringValue(info, "ProductName"), "KEL Toolkit native components");
  expect("FileDescription", stringValue(info, "FileDescription"), argv[4]);
  expect("OriginalFilename", stringValue(info, "OriginalFilename"), originalName);
  expect("InternalName", stringValue(info, "InternalName"), internalName);
  return failures == 0 ? 0 : 1;
}
