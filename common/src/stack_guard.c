/* The stack protector's canary and failure routines, for C runtimes that do
   not have them (MinGW-w64 before 11). GCC's libssp has them as well, but
   seeds the canary through CryptGenRandom, which would add advapi32.dll to
   the imports; here it comes from msvcrt's rand_s, which is imported anyway. */
#define _CRT_RAND_S
#include <stdint.h>
#include <stdlib.h>
#include <windows.h>

uintptr_t __stack_chk_guard;

/* Runs before any protected function of ours is on the stack, and checks no
   canary of its own while it changes the value. */
__attribute__((constructor, no_stack_protector)) static void seed_stack_guard(void) {
  uintptr_t guard = 0;
  for (unsigned i = 0; i < sizeof guard / sizeof(unsigned); ++i) {
    unsigned part = 0;
    if (rand_s(&part) != 0) {
      LARGE_INTEGER counter;
      QueryPerformanceCounter(&counter);
      part = (unsigned)counter.QuadPart ^ GetCurrentProcessId() ^ (GetCurrentThreadId() << 16);
    }
    guard |= (uintptr_t)part << (32 * i);
  }
  __stack_chk_guard = guard != 0 ? guard : (uintptr_t)0x2f8a4c19u;
}

/* A smashed stack cannot be trusted to unwind: say so and end the process at
   once, with the status Windows gives a failed stack check. */
__attribute__((noreturn)) static void fail(const char* message) {
  DWORD written;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), message, (DWORD)strlen(message), &written, NULL);
  TerminateProcess(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
  for (;;) {
  }
}

__attribute__((noreturn)) void __stack_chk_fail(void) { fail("*** stack smashing detected ***: terminated\n"); }

__attribute__((noreturn)) void __chk_fail(void) { fail("*** buffer overflow detected ***: terminated\n"); }
