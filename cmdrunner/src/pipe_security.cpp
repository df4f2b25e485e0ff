#include "pipe_security.h"

#include <ntsecapi.h>

#include <cstdio>

#include "kel/unique_handle.h"

namespace kel::cmdrunner {

std::string pipeName(DWORD processId, std::uint64_t random) {
  char name[64];
  std::snprintf(name, sizeof name, "\\\\.\\pipe\\Tesmaru.%lu.%016llx", static_cast<unsigned long>(processId),
                static_cast<unsigned long long>(random));
  return name;
}

bool systemRandom(std::uint64_t& random) { return ::RtlGenRandom(&random, sizeof random); }

DWORD OwnerOnlyDescriptor::build() {
  // A thread acting for another user creates and opens the pipe as that user.
  unique_handle token;
  if (!::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY, TRUE, token.put())) {
    if (::GetLastError() != ERROR_NO_TOKEN) return ::GetLastError();
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return ::GetLastError();
  }
  DWORD size = 0;
  if (!::GetTokenInformation(token.get(), TokenUser, user_, sizeof user_, &size)) return ::GetLastError();
  const PSID sid = reinterpret_cast<TOKEN_USER*>(user_)->User.Sid;
  auto* acl = reinterpret_cast<ACL*>(acl_);
  if (!::InitializeAcl(acl, sizeof acl_, ACL_REVISION)) return ::GetLastError();
  if (!::AddAccessAllowedAce(acl, ACL_REVISION, GENERIC_ALL, sid)) return ::GetLastError();
  // An absolute descriptor whose only access list is the one above.
  descriptor_.Revision = SECURITY_DESCRIPTOR_REVISION;
  descriptor_.Control = SE_DACL_PRESENT | SE_DACL_PROTECTED;
  descriptor_.Dacl = acl;
  attributes_ = SECURITY_ATTRIBUTES{sizeof attributes_, &descriptor_, FALSE};
  return 0;
}

}  // namespace kel::cmdrunner
