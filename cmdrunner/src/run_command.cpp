#include "run_command.h"

#include <mutex>

#include "error_text.h"
#include "kel/unique_handle.h"
#include "result_text.h"

namespace kel::cmdrunner {

namespace {

// Children inherit every inheritable handle. Making the output handle
// inheritable only while its own child starts, one start at a time, keeps
// one call's pipe out of the children of a concurrent call, whose pipe would
// otherwise not end before those children do.
std::mutex startLock;

// Characters of a command line, not counting its terminating zero.
constexpr std::size_t maxCommandLine = 32766;

class InheritableWhileStarting {
 public:
  explicit InheritableWhileStarting(HANDLE handle) : lock_(startLock), handle_(handle) {
    made_ = ::SetHandleInformation(handle_, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  }
  ~InheritableWhileStarting() {
    if (made_) ::SetHandleInformation(handle_, HANDLE_FLAG_INHERIT, 0);
  }
  InheritableWhileStarting(const InheritableWhileStarting&) = delete;
  InheritableWhileStarting& operator=(const InheritableWhileStarting&) = delete;

  bool made() const noexcept { return made_; }

 private:
  std::lock_guard<std::mutex> lock_;
  HANDLE handle_;
  bool made_;
};

int failure(DWORD error, std::optional<std::string>& errorText) {
  int code = 0;
  fetchErrorText(error, code, errorText);
  return code;
}

}  // namespace

int runCommand(std::string& commandText, PipeReader& pipe, std::optional<std::string>& errorText) {
  // Windows refuses a longer command line; Wine would run it cut short.
  if (commandText.size() > maxCommandLine) return failure(ERROR_FILENAME_EXCED_RANGE, errorText);
  const HANDLE output = pipe.writeEnd();
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output;
  startup.hStdError = output;
  PROCESS_INFORMATION child{};
  {
    InheritableWhileStarting inheritable(output);
    if (!inheritable.made()) return failure(::GetLastError(), errorText);
    if (!::CreateProcessA(nullptr, commandText.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &child)) {
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
