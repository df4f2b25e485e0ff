#pragma once
// Running the launchers as a user would under Wine: a sample install
// directory whose Java runtime is either the real one (when the test runs
// with KEL_TEST_JAVA_RUNTIME naming it) or the stand-in, environment
// settings, and started programs with their full exit code and output.

#include <windows.h>

#include <filesystem>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "kel/unique_handle.h"

namespace kel::test {

// Text of the ANSI code page, as the tests write it, in UTF-16.
std::u16string wideOf(const std::string& ansi);

// Windows paths of the programs under test (built in this tree).
std::string kelpassExe();
std::string keltoolExe();
std::string javaStandinExe();

// Sets (or, given nullopt, removes) an environment variable of this process,
// and so of every program it starts, until the end of the scope.
class ScopedEnvironment {
 public:
  ScopedEnvironment(std::string name, std::optional<std::string> value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

// Removes `path` with its content, waiting a few seconds for programs that
// ended just now to let go of their files.
void removeOnceReleased(const std::filesystem::path& path);

// A fresh directory under the temporary folder, removed with its content.
class TempDirectory {
 public:
  explicit TempDirectory(const std::string& namePrefix);
  ~TempDirectory();
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// What the stand-in received when it ran in place of a program.
struct StandinRecord {
  std::string commandLine;              // as GetCommandLineA gave it
  std::vector<std::string> arguments;  // argv, program name included
};

// What arrived at Java: the program that ran (the password application's
// main class, or the tool client's jar) and the arguments its main method
// received, in the ANSI code page.
struct JavaRun {
  std::string program;
  std::vector<std::string> arguments;
  bool operator==(const JavaRun&) const = default;
};
void PrintTo(const JavaRun& run, std::ostream* out);

// The headless password application on `workspace`, and the tool client,
// given `passed` after their fixed arguments.
JavaRun passwordApplication(const std::string& workspace, const std::vector<std::string>& passed);
JavaRun toolClient(const std::vector<std::string>& passed);

// Whether the launchers start the real Java runtime in this test.
bool realJava();

// An install directory named `name` inside a fresh temporary directory that
// is given in its short form, so that the install directory's path is as
// long as `name` makes it (the default has a short form without blanks that
// is shorter): eclipse\jre is the Java runtime (the real one, its files
// linked, or the stand-in), eclipse\startup.jar and the tool client's jar
// record what they are given, keltool.exe is the built one. While it lives,
// KELHOME names it and its programs record into it.
class SampleInstall {
 public:
  explicit SampleInstall(const std::string& name = "KEL Sample Install");
  const std::string& longPath() const { return path_; }
  std::string shortPath() const;
  // What arrived at Java since the last look; nullopt if nothing ran.
  std::optional<JavaRun> record() const;
  // The same, when the stand-in ran as some other program (an interpreter).
  std::optional<StandinRecord> standinRecord() const;
  // The Java programs' exit code for the programs started from now on.
  void setJavaExitCode(int exitCode);

 private:
  TempDirectory parent_;
  std::string path_;
  std::string recordPath_;
  ScopedEnvironment kelhome_;
  ScopedEnvironment record_;
  std::optional<ScopedEnvironment> exitCode_;
  std::optional<ScopedEnvironment> javaOptions_;
};

// Lays out an install directory's programs at `root`, as SampleInstall does.
void layOutInstall(const std::filesystem::path& root);

// Runs `check` once for each KELHOME value the launchers once could not
// start from, with KELHOME set to it and the stand-in recording into the
// install it names: a directory whose short form is longer than its name
// ("K T"), `usual` named in quotes, and a directory holding cmd.exe's
// delimiters and operators whose short form still holds ( % ) ("K(%),="),
// so that its paths go quoted.
void forEachHardKelhome(SampleInstall& usual, const std::function<void(SampleInstall&)>& check);

struct ProgramRun {
  DWORD exitCode = 0;  // all 32 bits
  std::string output;  // standard output and standard error
};

// Starts `commandLine` (no interpreter in between), collects what it writes
// and waits for it. The program gets the command line as UTF-16, as Windows
// gives it to every program; an ANSI one is converted from the code page.
ProgramRun runProgram(const std::string& commandLine, const std::string& currentDirectory = "");
ProgramRun runProgram(const std::u16string& commandLine, const std::string& currentDirectory = "");

// A program running beside the test, its output collected as it comes.
class BackgroundProgram {
 public:
  BackgroundProgram(const std::string& commandLine, const std::string& marker);
  // Ends it, if it still runs.
  ~BackgroundProgram();
  BackgroundProgram(const BackgroundProgram&) = delete;
  BackgroundProgram& operator=(const BackgroundProgram&) = delete;

  // Whether it wrote the marker within a minute (it had ended first otherwise).
  bool said();
  // Waits for its end.
  DWORD exitCode();
  std::string output();

 private:
  std::string marker_;
  unique_handle process_;
  std::mutex mutex_;
  std::condition_variable grown_;
  std::string output_;
  bool ended_ = false;
  std::thread reader_;
};

// The lines of `output`, without their line ends.
std::vector<std::string> linesOf(const std::string& output);

// Holds a file open for writing with no sharing, as a running IDE holds its
// workspace lock; creates the file (and its directory) if needed.
class HeldFile {
 public:
  explicit HeldFile(const std::string& path);

 private:
  unique_file_handle handle_;
};

// Names of the entries directly in `directory`, sorted.
std::vector<std::string> entriesOf(const std::string& directory);

}  // namespace kel::test
