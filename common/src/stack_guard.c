/* The stack protector's canary and failure routines, in every deliverable.
   The C runtime's (MinGW-w64 11 and later) and GCC's libssp's write their
   line to standard error first, and that write can block for ever; libssp
   also seeds the canary through CryptGenRandom, which would add advapi32.dll
   to the imports. Here the canary comes from msvcrt's rand_s, which is
   imported anyway. */
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

/* A smashed stack cannot be trusted to unwind, and a line on standard error
   could block for ever on a pipe that nobody reads (a VM's output, say): end
   the process at once, saying nothing, with the status Windows gives a failed
   stack check. __fastfail reaches no handler of the process's own. */
__attribute__((noreturn)) static void fail(unsigned code) {
  if (IsProcessorFeaturePresent(PF_FASTFAIL_AVAILABLE)) __asm__ volatile("int $0x29" : : "c"(code));
  TerminateProcess(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
  for (;;) {
  }
}

__attribute__((noreturn)) void __stack_chk_fail(void) { fail(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE); }

__attribute__((noreturn)) void __chk_fail(void) { fail(FAST_FAIL_RANGE_CHECK_FAILURE); }
