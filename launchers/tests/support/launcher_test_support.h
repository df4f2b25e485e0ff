#pragma once
// Running the launchers as a user would under Wine: a sample install
// directory with the Java runtime stand-in, environment settings, and started
// programs with their full exit code and output.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "kel/unique_handle.h"

namespace kel::test {

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

struct StandinRecord {
  std::string commandLine;              // as GetCommandLineA gave it
  std::vector<std::string> arguments;  // argv, program name included
};

// An install directory named `name` inside a fresh temporary directory that
// is given in its short form, so that the install directory's path is as
// long as `name` makes it (the default has a short form without blanks that
// is shorter): eclipse\jre\bin\java.exe is the stand-in, keltool.exe the
// built one. While it lives, KELHOME names it and the stand-in records into it.
class SampleInstall {
 public:
  explicit SampleInstall(const std::string& name = "KEL Sample Install");
  const std::string& longPath() const { return path_; }
  std::string shortPath() const;
  // What the stand-in recorded on its last start; nullopt if it never started.
  std::optional<StandinRecord> record() const;
  // The stand-in's exit code for the programs started from now on.
  void setJavaExitCode(int exitCode);

 private:
  TempDirectory parent_;
  std::string path_;
  std::string recordPath_;
  ScopedEnvironment kelhome_;
  ScopedEnvironment record_;
  std::optional<ScopedEnvironment> exitCode_;
};

// Runs `check` once for each KELHOME value the launchers once could not
// start from, with KELHOME set to it and the stand-in recording into the
// install it names: a directory whose short form is longer than its name
// ("K T"), `usual` named in quotes, and a directory holding cmd.exe's
// delimiters and operators whose short form still holds ( % ) ("K(%);,="),
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
