#pragma once
// What keeps a call's pipe its own: a name nobody can guess and a security
// descriptor that admits the current user alone.

#include <windows.h>

#include <cstdint>
#include <string>

namespace kel::cmdrunner {

// The pipe's name: this process's id beside 64 bits from the system's
// random generator, so that no other program can make it first.
std::string pipeName(DWORD processId, std::uint64_t random);

// A security descriptor whose one entry grants all access to the user the
// calling thread acts as, and nobody else.
class OwnerOnlyDescriptor {
 public:
  OwnerOnlyDescriptor() = default;
  OwnerOnlyDescriptor(const OwnerOnlyDescriptor&) = delete;
  OwnerOnlyDescriptor& operator=(const OwnerOnlyDescriptor&) = delete;

  // Answers 0, or the platform's error number.
  DWORD build();

  SECURITY_ATTRIBUTES* attributes() noexcept { return &attributes_; }

 private:
  // A TOKEN_USER with the largest SID, kept aligned for both.
  alignas(TOKEN_USER) unsigned char user_[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE]{};
  alignas(ACL) unsigned char acl_[sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + SECURITY_MAX_SID_SIZE]{};
  SECURITY_DESCRIPTOR descriptor_{};
  SECURITY_ATTRIBUTES attributes_{};
};

// 64 bits from the system's random generator; false when it failed.
bool systemRandom(std::uint64_t& random);

}  // namespace kel::cmdrunner
