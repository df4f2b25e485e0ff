#include "command.h"

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "kel/system_paths.h"
#include "kel/text_encoding.h"
#include "kel/unique_any.h"
#include "kel/unique_handle.h"
#include "kel/wide.h"

namespace kel::cmdrunner {

namespace {

// Characters of a command line, not counting its terminating zero.
constexpr std::size_t MAX_COMMAND_LINE = 32766;

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

// The program a command names, as the platform reads it from the command
// line: up to the closing quote when it starts with one, else up to the
// first blank or tab.
std::u16string_view programName(std::u16string_view commandText) {
  if (commandText.starts_with(u'"')) {
    const std::u16string_view rest = commandText.substr(1);
    return rest.substr(0, rest.find(u'"'));
  }
  return commandText.substr(0, commandText.find_first_of(u" \t"));
}

bool isFile(const std::u16string& path) {
  const DWORD attributes = ::GetFileAttributesW(wide(path));
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folders a bare program name is looked for in, in order: the
// application's, the system's, Windows' own, then PATH. Never the current
// directory, where a planted program would win over the system's.
std::vector<std::u16string> searchFolders() {
  std::vector<std::u16string> folders = {kel::applicationDirectory(), kel::systemDirectory(),
                                         kel::windowsDirectory()};
  const std::u16string path = kel::environmentValue(u"PATH");
  for (std::size_t start = 0; start <= path.size();) {
    const std::size_t end = std::min(path.find(u';', start), path.size());
    std::u16string folder = path.substr(start, end - start);
    if (folder.size() >= 2 && folder.front() == u'"' && folder.back() == u'"') folder = folder.substr(1, folder.size() - 2);
    folders.push_back(std::move(folder));
    start = end + 1;
  }
  return folders;
}

// What to start for `name`: nullopt for a name with a path in it, which the
// platform takes as written (.\tool.exe runs from the current directory
// because the caller said so); for a bare name the full path found, with
// .exe added when the name has none; ERROR_FILE_NOT_FOUND when nothing is.
struct Program {
  std::optional<std::u16string> path;
  DWORD error = 0;
};

Program programToStart(std::u16string_view name) {
  if (name.find_first_of(u"\\/:") != std::u16string_view::npos) return {};
  if (!name.empty()) {
    std::u16string file(name);
    if (file.find(u'.') == std::u16string::npos) file += u".exe";
    for (std::u16string folder : searchFolders()) {
      if (folder.empty()) continue;
      if (folder.back() != u'\\' && folder.back() != u'/') folder += u'\\';
      if (std::u16string candidate = folder + file; isFile(candidate)) return {std::move(candidate)};
    }
  }
  return {std::nullopt, ERROR_FILE_NOT_FOUND};
}

CommandRun failed(DWORD error) { return {SYSTEM_FAILURE_CODE, error}; }

struct local_memory_traits {
  using type = wchar_t*;
  static type invalid() noexcept { return nullptr; }
  static void close(type text) noexcept { ::LocalFree(text); }
};

}  // namespace

CommandRun runCommand(std::u16string& commandText, Pipe& pipe) {
  // Windows refuses a longer command line; Wine would run it cut short.
  if (commandText.size() > MAX_COMMAND_LINE) return failed(ERROR_FILENAME_EXCED_RANGE);
  const Program program = programToStart(programName(commandText));
  if (program.error) return failed(program.error);
  const HANDLE output = pipe.writeEnd();
  InheritOnly inherited(output);
  if (const DWORD error = inherited.build()) return failed(error);
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdOutput = output;
  startup.StartupInfo.hStdError = output;
  startup.lpAttributeList = inherited.list();
  PROCESS_INFORMATION child{};
  {
    InheritableWhileStarting inheritable(output);
    if (!inheritable.made()) return failed(::GetLastError());
    // The command line goes unchanged; only where its program lies is decided here.
    if (!::CreateProcessW(program.path ? wide(*program.path) : nullptr, wide(commandText), nullptr, nullptr, TRUE,
                          CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr, &startup.StartupInfo,
                          &child)) {
      return failed(::GetLastError());
    }
  }
  // Declared in this order so that the process handle is closed first.
  const unique_handle thread(child.hThread);
  const unique_handle process(child.hProcess);
  if (const DWORD error = pipe.readUntilEnded(process.get())) return failed(error);
  DWORD exitCode = 0;
  if (!::GetExitCodeProcess(process.get(), &exitCode)) return failed(::GetLastError());
  return {static_cast<int>(exitCode), 0};
}

std::string systemText(DWORD error) {
  constexpr DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;
  constexpr DWORD userDefaultLanguage = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);
  unique_any<local_memory_traits> message;
  // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument receives the address.
  if (!::FormatMessageW(flags, nullptr, error, userDefaultLanguage, reinterpret_cast<LPWSTR>(message.put()), 0,
                        nullptr)) {
    return "System error " + std::to_string(error) + "\r\n";
  }
  return text::encodeModifiedUtf8(reinterpret_cast<const char16_t*>(message.get()));
}

}  // namespace kel::cmdrunner
