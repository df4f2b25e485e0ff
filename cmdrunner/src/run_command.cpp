#include "run_command.h"

#include <memory>

#include "error_text.h"
#include "kel/unique_handle.h"
#include "kel/wide.h"
#include "result_text.h"

namespace kel::cmdrunner {

namespace {

// Characters of a command line, not counting its terminating zero.
constexpr std::size_t maxCommandLine = 32766;

// The handle list of a start: the child inherits these handles and no
// other, so neither a concurrent call's pipe nor any inheritable handle of
// the VM's ends up in it.
class InheritOnly {
 public:
  explicit InheritOnly(HANDLE handle) : handle_(handle) {}
  ~InheritOnly() {
    if (initialised_) ::DeleteProcThreadAttributeList(list());
  }
  InheritOnly(const InheritOnly&) = delete;
  InheritOnly& operator=(const InheritOnly&) = delete;

  // Answers 0, or the platform's error number.
  DWORD build() {
    SIZE_T size = 0;
    // This first call only names the size it needs.
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage_ = std::make_unique<char[]>(size);
    if (!::InitializeProcThreadAttributeList(list(), 1, 0, &size)) return ::GetLastError();
    initialised_ = true;
    if (!::UpdateProcThreadAttribute(list(), 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &handle_, sizeof handle_, nullptr,
                                     nullptr)) {
      return ::GetLastError();
    }
    return 0;
  }

  LPPROC_THREAD_ATTRIBUTE_LIST list() const noexcept {
    return reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.get());
  }

 private:
  HANDLE handle_;  // the list points here until the start is done
  std::unique_ptr<char[]> storage_;
  bool initialised_ = false;
};

// A handle list names inheritable handles only. The write end is made so
// just for its own start, so that programs the VM starts by other means,
// which inherit whatever is inheritable, never hold it.
class InheritableWhileStarting {
 public:
  explicit InheritableWhileStarting(HANDLE handle) : handle_(handle) {
    made_ = ::SetHandleInformation(handle_, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  }
  ~InheritableWhileStarting() {
    if (made_) ::SetHandleInformation(handle_, HANDLE_FLAG_INHERIT, 0);
  }
  InheritableWhileStarting(const InheritableWhileStarting&) = delete;
  InheritableWhileStarting& operator=(const InheritableWhileStarting&) = delete;

  bool made() const noexcept { return made_; }

 private:
  HANDLE handle_;
  bool made_;
};

int failure(DWORD error, std::optional<std::string>& errorText) {
  int code = 0;
  fetchErrorText(error, code, errorText);
  return code;
}

}  // namespace

int runCommand(std::u16string& commandText, PipeReader& pipe, std::optional<std::string>& errorText) {
  // Windows refuses a longer command line; Wine would run it cut short.
  if (commandText.size() > maxCommandLine) return failure(ERROR_FILENAME_EXCED_RANGE, errorText);
  const HANDLE output = pipe.writeEnd();
  InheritOnly inherited(output);
  if (const DWORD error = inherited.build()) return failure(error, errorText);
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdOutput = output;
  startup.StartupInfo.hStdError = output;
  startup.lpAttributeList = inherited.list();
  PROCESS_INFORMATION child{};
  {
    InheritableWhileStarting inheritable(output);
    if (!inheritable.made()) return failure(::GetLastError(), errorText);
    if (!::CreateProcessW(nullptr, wide(commandText), nullptr, nullptr, TRUE,
                          CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr, &startup.StartupInfo,
                          &child)) {
      return failure(::GetLastError(), errorText);
    }
  }
  // Declared in this order so that the process handle is closed first.
  const unique_handle thread(child.hThread);
  const unique_handle process(child.hProcess);
  if (const DWORD error = pipe.readUntilEnded(process.get())) return failure(error, errorText);
  DWORD exitCode = 0;
  if (!::GetExitCodeProcess(process.get(), &exitCode)) return failure(::GetLastError(), errorText);
  return static_cast<int>(exitCode);
}

}  // namespace kel::cmdrunner
