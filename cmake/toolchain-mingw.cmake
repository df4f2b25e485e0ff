# Windows with MinGW-w64 (posix threads), for the target named by
# KEL_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR, which the per-target toolchain
# files set before they include this one.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${KEL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KEL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KEL_MINGW_TRIPLE}-windres)
# The checks of the deliverables read their headers with the target's objdump;
# the symbols are split off the deliverables with its objcopy and strip.
set(KEL_OBJDUMP ${KEL_MINGW_TRIPLE}-objdump)
set(KEL_OBJCOPY ${KEL_MINGW_TRIPLE}-objcopy)
set(KEL_STRIP ${KEL_MINGW_TRIPLE}-strip)

set(CMAKE_FIND_ROOT_PATH /usr/${KEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The C++ and GCC runtimes and winpthread go inside each binary, so a
# deliverable needs nothing but the system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
