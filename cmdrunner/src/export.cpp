// The library's one export, the native method getSTDOUT of the Java class
// com.vum.kel.util.WindowsCommandCenter: one call from command line to result
// text.
#include <jni.h>

#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "kel/code_page.h"
#include "kel/java_chars.h"
#include "kel/text_encoding.h"
#include "pipe.h"
#include "command.h"
#include "result.h"

namespace kel::cmdrunner {
namespace {

// What the commands wrote as modified UTF-8, each command's part decided on
// its own as a console window would show it: UTF-8 when the part is UTF-8
// (modern tools write it), else in the console's (OEM) code page, which
// cmd.exe and the system's console tools write into a pipe. One command's
// stray byte so garbles no other command's text. A character the limit cut
// in two at the end of the last part is dropped whole.
std::string capturedText(const OutputAccumulator& output) {
  const std::string_view captured = output.text();
  const std::vector<std::size_t>& starts = output.partStarts();
  std::string text;
  for (std::size_t i = 0; i < starts.size(); ++i) {
    const bool last = i + 1 == starts.size();
    const std::string_view part = captured.substr(starts[i], (last ? captured.size() : starts[i + 1]) - starts[i]);
    const bool cut = last && output.overflowed();
    const std::string_view whole = cut ? part.substr(0, part.size() - text::cutUtf8Tail(part)) : part;
    if (const std::optional<std::string> utf8 = text::utf8ToModifiedUtf8(whole)) {
      text += *utf8;
    } else {
      text += text::encodeModifiedUtf8(text::fromOem(part, cut));
    }
  }
  return text;
}

// The reply for a platform call that failed before any output was read.
std::string failedBeforeOutput(DWORD error) { return formatResult({}, false, SYSTEM_FAILURE_CODE, systemText(error)); }

// `javaCommandLine` holds commands joined by `&`, in modified UTF-8.
std::string runCommandLine(std::string_view javaCommandLine) {
  // No command line can carry U+0000: it would end the text there.
  const std::optional<std::u16string> commandLine = text::decodeModifiedUtf8(javaCommandLine);
  if (!commandLine || commandLine->find(u'\0') != std::u16string::npos) {
    return failedBeforeOutput(ERROR_NO_UNICODE_TRANSLATION);
  }
  const std::vector<std::u16string_view> commands = splitCommands(*commandLine);
  if (commands.empty()) return formatResult({}, false, 0, std::nullopt);

  Pipe pipe;
  if (const DWORD error = pipe.open()) return failedBeforeOutput(error);
  CommandRun run;
  std::u16string commandText;
  for (const std::u16string_view command : commands) {
    commandText = command;  // CreateProcessW may write into its command line
    run = runCommand(commandText, pipe);
    // The first command that does not end with 0 ends the sequence.
    if (run.code != 0) break;
  }
  if (const DWORD error = pipe.closeWriteEnd()) return failedBeforeOutput(error);
  const OutputAccumulator& output = pipe.output();
  return formatResult(capturedText(output), output.overflowed(), run.code,
                      run.error ? std::optional<std::string>(systemText(run.error)) : std::nullopt);
}

}  // namespace
}  // namespace kel::cmdrunner

extern "C" JNIEXPORT jstring JNICALL Java_com_vum_kel_util_WindowsCommandCenter_getSTDOUT(JNIEnv* env, jobject,
                                                                                         jstring commandLine) {
  try {
    std::string result;
    {
      const kel::JavaChars chars(env, commandLine);
      if (!chars.get()) return nullptr;
      result = kel::cmdrunner::runCommandLine(chars.get());
    }
    return env->NewStringUTF(result.c_str());
  } catch (...) {
    // Only a lack of memory gets here; null is what NewStringUTF answers then too.
    return nullptr;
  }
}

// The VM calls native methods with JNICALL, which is __stdcall on 32-bit Windows.
static_assert(std::is_same_v<decltype(&Java_com_vum_kel_util_WindowsCommandCenter_getSTDOUT),
                             jstring(JNICALL*)(JNIEnv*, jobject, jstring)>);
