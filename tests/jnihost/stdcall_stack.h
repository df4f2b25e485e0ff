#pragma once
// 32-bit only: a native method is __stdcall, so it takes its own arguments
// off the stack as the VM expects. One compiled as __cdecl would leave the
// VM's stack pointer off by their size after every call. x86-64 has a single
// calling convention, so there is nothing to check there.

#ifndef _WIN64

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace kel::test {

// Pushes `arguments` (the first pushed last, as a 32-bit VM does), calls
// `method` and answers how many bytes of them it left on the stack.
inline std::uint32_t bytesLeftOnStack(const void* method, std::initializer_list<const void*> arguments) {
  const std::vector<const void*> words(arguments);
  const void* const* first = words.data();
  const std::uint32_t count = static_cast<std::uint32_t>(words.size());
  std::uint32_t leftOver = 0;
  asm volatile(
      "movl %%esp, %%edi\n\t"
      "movl %[count], %%ecx\n\t"
      "1:\n\t"
      "testl %%ecx, %%ecx\n\t"
      "jz 2f\n\t"
      "pushl -4(%[first],%%ecx,4)\n\t"
      "decl %%ecx\n\t"
      "jmp 1b\n\t"
      "2:\n\t"
      "call *%[method]\n\t"
      "movl %%edi, %%eax\n\t"
      "subl %%esp, %%eax\n\t"
      "movl %%edi, %%esp\n\t"
      : "=&a"(leftOver)
      : [method] "b"(method), [first] "S"(first), [count] "m"(count)
      : "ecx", "edx", "edi", "memory", "cc");
  return leftOver;
}

}  // namespace kel::test

#endif
