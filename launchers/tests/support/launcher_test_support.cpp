#include "launcher_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "kel/code_page.h"
#include "kel/text_encoding.h"

namespace kel::test {
namespace {

// The build tree is reached from Wine through drive Z:, which maps to /.
std::string windowsPathOf(std::string unixPath) {
  std::replace(unixPath.begin(), unixPath.end(), '/', '\\');
  return "Z:" + unixPath;
}

std::optional<std::string> environmentValue(const std::string& name) {
  const DWORD size = ::GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::string value(size, '\0');
  value.resize(::GetEnvironmentVariableA(name.c_str(), value.data(), size));
  return value;
}

void setEnvironment(const std::string& name, const std::optional<std::string>& value) {
  ::SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr);
}

std::string shortPathOf(const std::string& path) {
  char shortForm[MAX_PATH + 1] = {};
  ::GetShortPathNameA(path.c_str(), shortForm, sizeof shortForm);
  return shortForm;
}

}  // namespace

std::string kelpassExe() { return windowsPathOf(KEL_TEST_KELPASS_EXE); }
std::string keltoolExe() { return windowsPathOf(KEL_TEST_KELTOOL_EXE); }
std::string javaStandinExe() { return windowsPathOf(KEL_TEST_JAVA_STANDIN_EXE); }

ScopedEnvironment::ScopedEnvironment(std::string name, std::optional<std::string> value)
    : name_(std::move(name)), previous_(environmentValue(name_)) {
  setEnvironment(name_, value);
}

ScopedEnvironment::~ScopedEnvironment() { setEnvironment(name_, previous_); }

TempDirectory::TempDirectory(const std::string& namePrefix) {
  static std::atomic<int> counter{0};
  char temp[MAX_PATH + 1];
  ::GetTempPathA(sizeof temp, temp);
  path_ = std::string(temp) + namePrefix + std::to_string(::GetCurrentProcessId()) + "-" +
          std::to_string(counter++);
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempDirectory::~TempDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

SampleInstall::SampleInstall(const std::string& name)
    : parent_("KEL Samples "),
      path_(shortPathOf(parent_.path()) + "\\" + name),
      recordPath_(path_ + "\\standin-record.bin"),
      kelhome_("KELHOME", path_),
      record_("KEL_STANDIN_RECORD", recordPath_) {
  const std::filesystem::path root = path_;
  std::filesystem::create_directories(root / "eclipse" / "jre" / "bin");
  std::filesystem::create_directories(root / "eclipse" / "workspace");
  std::filesystem::copy_file(javaStandinExe(), root / "eclipse" / "jre" / "bin" / "java.exe");
  std::filesystem::copy_file(keltoolExe(), root / "keltool.exe");
  setJavaExitCode(0);
}

std::string SampleInstall::shortPath() const { return shortPathOf(path_); }

std::optional<StandinRecord> SampleInstall::record() const {
  std::ifstream file(recordPath_, std::ios::binary);
  if (!file) return std::nullopt;
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::string> entries;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1) {
    entries.push_back(bytes.substr(start, end - start));
  }
  if (entries.empty()) return std::nullopt;
  return StandinRecord{entries.front(), {entries.begin() + 1, entries.end()}};
}

void SampleInstall::setJavaExitCode(int exitCode) {
  exitCode_.reset();
  exitCode_.emplace("KEL_STANDIN_EXIT", std::to_string(exitCode));
}

void forEachHardKelhome(SampleInstall& usual, const std::function<void(SampleInstall&)>& check) {
  {
    SCOPED_TRACE("short form longer than the name");
    SampleInstall install("K T");
    EXPECT_GT(install.shortPath().size(), install.longPath().size());
    check(install);
  }
  {
    SCOPED_TRACE("KELHOME in quotes");
    const ScopedEnvironment quoted("KELHOME", "\"" + usual.longPath() + "\"");
    check(usual);
  }
  {
    SCOPED_TRACE("delimiters and operators");
    SampleInstall install("K(%);,=");
    EXPECT_NE(install.shortPath().find("(%)"), std::string::npos) << install.shortPath();
    check(install);
  }
}

ProgramRun runProgram(const std::string& commandLine, const std::string& currentDirectory) {
  return runProgram(text::fromAnsi(commandLine), currentDirectory);
}

ProgramRun runProgram(const std::u16string& commandLine, const std::string& currentDirectory) {
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
    ADD_FAILURE() << "CreatePipe failed: " << ::GetLastError();
    return {};
  }
  const unique_handle reader(readEnd);
  unique_handle writer(writeEnd);
  ::SetHandleInformation(reader.get(), HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writer.get();
  startup.hStdError = writer.get();
  PROCESS_INFORMATION process{};
  std::u16string mutableLine = commandLine;
  const std::u16string directory = text::fromAnsi(currentDirectory);
  if (!::CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(mutableLine.data()), nullptr, nullptr, TRUE, 0,
                        nullptr, directory.empty() ? nullptr : reinterpret_cast<const wchar_t*>(directory.c_str()),
                        &startup, &process)) {
    ADD_FAILURE() << "could not start " << text::encodeModifiedUtf8(commandLine) << ": " << ::GetLastError();
    return {};
  }
  const unique_handle processHandle(process.hProcess);
  const unique_handle threadHandle(process.hThread);
  writer.reset();  // the child's copies are the only ones left, so EOF comes when they end

  ProgramRun run;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(reader.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    run.output.append(buffer, got);
  }
  ::WaitForSingleObject(processHandle.get(), INFINITE);
  ::GetExitCodeProcess(processHandle.get(), &run.exitCode);
  return run;
}

std::vector<std::string> linesOf(const std::string& output) {
  std::vector<std::string> lines;
  std::istringstream stream(output);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

HeldFile::HeldFile(const std::string& path) {
  // The path is in the code page, which std::filesystem does not read narrow
  // text in (a double-byte character would be cut).
  const std::u16string wide = text::fromAnsi(path);
  const std::filesystem::path file(reinterpret_cast<const wchar_t*>(wide.c_str()));
  std::filesystem::create_directories(file.parent_path());
  handle_.reset(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle_) ADD_FAILURE() << "could not hold " << path << ": " << ::GetLastError();
}

std::vector<std::string> entriesOf(const std::string& directory) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace kel::test
