#include "launcher_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
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

std::u16string wideOf(const std::string& ansi) {
  if (ansi.empty()) return u"";
  const int size = static_cast<int>(ansi.size());
  std::u16string units(static_cast<std::size_t>(::MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0)), u'\0');
  ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, reinterpret_cast<wchar_t*>(units.data()),
                        static_cast<int>(units.size()));
  return units;
}

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
  // Wine hands out process ids again soon: a name an earlier process left
  // behind is passed over, not taken.
  do {
    path_ = std::string(temp) + namePrefix + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(counter++);
  } while (!std::filesystem::create_directory(path_));
}

TempDirectory::~TempDirectory() { removeOnceReleased(path_); }

void removeOnceReleased(const std::filesystem::path& path) {
  // A program that has just ended may hold its files a moment longer under
  // Wine (a Java runtime's, say), so that a first removal leaves some.
  for (int attempt = 0; attempt < 50; ++attempt) {
    std::error_code error;
    std::filesystem::remove_all(path, error);
    if (!error) return;
    ::Sleep(100);
  }
}

bool realJava() { return environmentValue("KEL_TEST_JAVA_RUNTIME").has_value(); }

void layOutInstall(const std::filesystem::path& root) {
  namespace fs = std::filesystem;
  const fs::path jre = root / "eclipse" / "jre";
  fs::create_directories(root / "eclipse" / "workspace");
  fs::create_directories(root / "eclipse" / "plugins" / "com.vum.kel.KELtoolClient");
  if (const std::optional<std::string> runtime = environmentValue("KEL_TEST_JAVA_RUNTIME")) {
    // Links, not copies: the runtime is some hundred files and 90 MB.
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(*runtime)) {
      const fs::path target = jre / fs::relative(entry.path(), *runtime);
      if (entry.is_directory()) {
        fs::create_directories(target);
      } else {
        fs::create_directories(target.parent_path());
        fs::create_hard_link(entry.path(), target);
      }
    }
  } else {
    fs::create_directories(jre / "bin");
    fs::copy_file(javaStandinExe(), jre / "bin" / "java.exe");
  }
  // Where no Java is built (the stand-in's trees) the jars are only there to be named.
  const auto jar = [](const std::string& built, const fs::path& target) {
    if (fs::exists(built)) {
      fs::copy_file(built, target);
    } else {
      std::ofstream placeholder(target);
    }
  };
  jar(windowsPathOf(KEL_TEST_STARTUP_JAR), root / "eclipse" / "startup.jar");
  jar(windowsPathOf(KEL_TEST_TOOL_CLIENT_JAR), root / "eclipse" / "plugins" / "com.vum.kel.KELtoolClient" / "keltoolClient.jar");
  fs::copy_file(keltoolExe(), root / "keltool.exe");
}

SampleInstall::SampleInstall(const std::string& name)
    : parent_("KEL Samples "),
      path_(shortPathOf(parent_.path()) + "\\" + name),
      recordPath_(path_ + "\\standin-record.bin"),
      kelhome_("KELHOME", path_),
      record_("KEL_STANDIN_RECORD", recordPath_) {
  layOutInstall(path_);
  setJavaExitCode(0);
  // The toolkit's own runtime takes -Xzq, which HotSpot refuses unless told
  // to pass over what it does not know; the rest as for every run of the
  // runtime under Wine (cmake/KelJava.cmake).
  if (realJava()) {
    javaOptions_.emplace("JAVA_TOOL_OPTIONS", "-XX:+IgnoreUnrecognizedVMOptions -XX:-PrintWarnings -XX:-UsePerfData");
  }
}

std::string SampleInstall::shortPath() const { return shortPathOf(path_); }

namespace {

// The entries of a record file, each ended by a zero byte; the file goes, so
// that the next look sees only what ran after this one.
std::optional<std::vector<std::string>> takeRecord(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  file.close();
  std::filesystem::remove(path);
  std::vector<std::string> entries;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find('\0', start)) != std::string::npos; start = end + 1) {
    entries.push_back(bytes.substr(start, end - start));
  }
  if (entries.empty()) return std::nullopt;
  return entries;
}

// A Java launcher's reading of the stand-in's argv: options up to the main
// class, or up to -jar and its file; what follows is for main. A class path
// or jar that names no file would not have started Java.
JavaRun asJavaWouldRun(const std::vector<std::string>& argv) {
  std::size_t i = 1;
  JavaRun run;
  while (i < argv.size() && run.program.empty()) {
    const std::string& option = argv[i++];
    if (option == "-cp" || option == "-jar") {
      const std::string file = i < argv.size() ? argv[i++] : "";
      if (::GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) return {"no such file: " + file, {}};
      if (option == "-jar") run.program = std::filesystem::path(file).filename().string();
    } else if (!option.starts_with('-')) {
      run.program = option;
    }
  }
  run.arguments.assign(argv.begin() + static_cast<std::ptrdiff_t>(i), argv.end());
  return run;
}

}  // namespace

std::optional<JavaRun> SampleInstall::record() const {
  std::optional<std::vector<std::string>> entries = takeRecord(recordPath_);
  if (!entries) return std::nullopt;
  if (!entries->front().empty()) return asJavaWouldRun({entries->begin() + 1, entries->end()});
  // Java's own record: no command line, the program, then main's arguments
  // in UTF-8, taken here into the code page as the stand-in's are.
  const auto inCodePage = [](const std::string& utf8) {
    const std::optional<std::u16string> units = text::decodeModifiedUtf8(text::utf8ToModifiedUtf8(utf8).value_or("?"));
    return text::toAnsi(units.value_or(u"?")).value_or("not in the code page: " + utf8);
  };
  if (entries->size() < 2) return JavaRun{"no program recorded", {}};
  JavaRun run{inCodePage((*entries)[1]), {}};
  for (std::size_t i = 2; i < entries->size(); ++i) run.arguments.push_back(inCodePage((*entries)[i]));
  return run;
}

std::optional<StandinRecord> SampleInstall::standinRecord() const {
  std::optional<std::vector<std::string>> entries = takeRecord(recordPath_);
  if (!entries) return std::nullopt;
  return StandinRecord{entries->front(), {entries->begin() + 1, entries->end()}};
}

void SampleInstall::setJavaExitCode(int exitCode) {
  exitCode_.reset();
  exitCode_.emplace("KEL_STANDIN_EXIT", std::to_string(exitCode));
}

void PrintTo(const JavaRun& run, std::ostream* out) {
  *out << run.program << testing::PrintToString(run.arguments);
}

JavaRun passwordApplication(const std::string& workspace, const std::vector<std::string>& passed) {
  JavaRun run{"org.eclipse.core.launcher.Main",
              {"-noupdate", "-application", "com.vum.kel.KELpass.kelpass", "-data", workspace}};
  run.arguments.insert(run.arguments.end(), passed.begin(), passed.end());
  return run;
}

JavaRun toolClient(const std::vector<std::string>& passed) { return {"keltoolClient.jar", passed}; }

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
    SampleInstall install("K(%),=");
    EXPECT_NE(install.shortPath().find("(%)"), std::string::npos) << install.shortPath();
    check(install);
  }
}

ProgramRun runProgram(const std::string& commandLine, const std::string& currentDirectory) {
  return runProgram(wideOf(commandLine), currentDirectory);
}

namespace {

// A program started with its standard output and error on a pipe of the
// test's, whose read end it answers; the process is left running.
struct StartedProgram {
  unique_handle process;
  unique_handle output;
};

StartedProgram startWithOutputPipe(const std::u16string& commandLine, const std::string& currentDirectory) {
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
    ADD_FAILURE() << "CreatePipe failed: " << ::GetLastError();
    return {};
  }
  unique_handle reader(readEnd);
  // Closed once the child has its copies, so that the end of the pipe comes when they end.
  const unique_handle writer(writeEnd);
  ::SetHandleInformation(reader.get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writer.get();
  startup.hStdError = writer.get();
  PROCESS_INFORMATION process{};
  std::u16string mutableLine = commandLine;
  const std::u16string directory = wideOf(currentDirectory);
  if (!::CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(mutableLine.data()), nullptr, nullptr, TRUE, 0,
                        nullptr, directory.empty() ? nullptr : reinterpret_cast<const wchar_t*>(directory.c_str()),
                        &startup, &process)) {
    ADD_FAILURE() << "could not start " << text::encodeModifiedUtf8(commandLine) << ": " << ::GetLastError();
    return {};
  }
  ::CloseHandle(process.hThread);
  return {unique_handle(process.hProcess), std::move(reader)};
}

}  // namespace

ProgramRun runProgram(const std::u16string& commandLine, const std::string& currentDirectory) {
  const StartedProgram started = startWithOutputPipe(commandLine, currentDirectory);
  if (!started.process) return {};
  ProgramRun run;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(started.output.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
    run.output.append(buffer, got);
  }
  ::WaitForSingleObject(started.process.get(), INFINITE);
  ::GetExitCodeProcess(started.process.get(), &run.exitCode);
  return run;
}

BackgroundProgram::BackgroundProgram(const std::string& commandLine, const std::string& marker) : marker_(marker) {
  StartedProgram started = startWithOutputPipe(wideOf(commandLine), "");
  if (!started.process) {
    ended_ = true;
    return;
  }
  process_ = std::move(started.process);
  reader_ = std::thread([this, reader = std::move(started.output)] {
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(reader.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
      const std::lock_guard lock(mutex_);
      output_.append(buffer, got);
      grown_.notify_all();
    }
    const std::lock_guard lock(mutex_);
    ended_ = true;
    grown_.notify_all();
  });
}

BackgroundProgram::~BackgroundProgram() {
  if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) ::TerminateProcess(process_.get(), 1);
  if (reader_.joinable()) reader_.join();
}

bool BackgroundProgram::said() {
  std::unique_lock lock(mutex_);
  return grown_.wait_for(lock, std::chrono::minutes(1),
                         [&] { return ended_ || output_.find(marker_) != std::string::npos; }) &&
         output_.find(marker_) != std::string::npos;
}

DWORD BackgroundProgram::exitCode() {
  DWORD exitCode = 0;
  ::WaitForSingleObject(process_.get(), INFINITE);
  ::GetExitCodeProcess(process_.get(), &exitCode);
  return exitCode;
}

std::string BackgroundProgram::output() {
  const std::lock_guard lock(mutex_);
  return output_;
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
  const std::u16string wide = wideOf(path);
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
