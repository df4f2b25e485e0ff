#pragma once
// Where the tests find the library and the child program: CMake gives their
// Linux paths, which Wine shows on drive Z:.

#include <algorithm>
#include <string>

namespace kel::test {

inline std::string windowsPath(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return "Z:" + path;
}

inline std::string tesmaruDll() { return windowsPath(TESMARU_DLL); }

// The child program as the start of a command, quoted.
inline std::string child() { return "\"" + windowsPath(RUNNER_CHILD) + "\""; }

}  // namespace kel::test
