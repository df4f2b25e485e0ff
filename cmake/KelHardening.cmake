# Stack protection (-fstack-protector-strong) and _FORTIFY_SOURCE at the
# highest level this toolchain's headers act on, for every Windows binary.
# Their support routines come from the C runtime (MinGW-w64 11 and later) or
# else from GCC's libssp, which the compiler driver adds when the flag is
# also given at link time; -static makes that libssp.a, so the import lists
# stay system DLLs only. Sets KEL_LIBSSP_LINKED for the release's notices.
include(CheckCXXSourceCompiles)

set(probe [=[
#include <cstring>
#if !defined(__MINGW_FORTIFY_LEVEL) || __MINGW_FORTIFY_LEVEL != KEL_LEVEL
#error the headers do not fortify at this level
#endif
int main(int argc, char** argv) {
  char buffer[16];
  std::memcpy(buffer, argv[0], static_cast<unsigned>(argc));
  return buffer[argc - 1];
}
]=])

# The probe's compile flags go in CMAKE_REQUIRED_DEFINITIONS: unlike
# CMAKE_REQUIRED_FLAGS they do not reach its link, which must show whether
# the flag is needed there too.
set(CMAKE_REQUIRED_QUIET ON)
foreach(level 3 2 1)
  set(CMAKE_REQUIRED_DEFINITIONS -O2 -fstack-protector-strong -D_FORTIFY_SOURCE=${level} -DKEL_LEVEL=${level})
  set(CMAKE_REQUIRED_LINK_OPTIONS "")
  check_cxx_source_compiles("${probe}" KEL_FORTIFY_${level}_IN_RUNTIME)
  set(CMAKE_REQUIRED_LINK_OPTIONS -fstack-protector-strong)
  check_cxx_source_compiles("${probe}" KEL_FORTIFY_${level}_WITH_LIBSSP)
  if(KEL_FORTIFY_${level}_IN_RUNTIME OR KEL_FORTIFY_${level}_WITH_LIBSSP)
    set(fortify_level ${level})
    break()
  endif()
endforeach()
unset(CMAKE_REQUIRED_DEFINITIONS)
unset(CMAKE_REQUIRED_LINK_OPTIONS)
unset(CMAKE_REQUIRED_QUIET)

if(NOT DEFINED fortify_level)
  message(FATAL_ERROR "hardening: ${CMAKE_CXX_COMPILER} cannot build and link statically with -fstack-protector-strong and _FORTIFY_SOURCE (see CMakeFiles/CMakeError.log)")
endif()
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-fstack-protector-strong;-D_FORTIFY_SOURCE=${fortify_level}>")
if(KEL_FORTIFY_${fortify_level}_IN_RUNTIME)
  set(KEL_LIBSSP_LINKED OFF)
  set(support "the C runtime")
else()
  add_link_options(-fstack-protector-strong)
  set(KEL_LIBSSP_LINKED ON)
  set(support "GCC's libssp, linked statically")
endif()
message(STATUS "Hardening: -fstack-protector-strong, _FORTIFY_SOURCE=${fortify_level}, support routines from ${support}")
