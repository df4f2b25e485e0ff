// Built and started once when a Windows tree is configured: if this line
// comes back, the machine can start Windows programs of the tree's kind.
#include <cstdio>

int main() {
  std::puts("kel wine probe ran");
  return 0;
}
