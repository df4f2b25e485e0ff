#include "kelpass_commands.h"

#include "crt_arguments.h"
#include "install_path.h"

namespace kel {

std::u16string defaultWorkspace(std::u16string_view installDir) {
  return std::u16string(installDir) + u"\\eclipse\\workspace";
}

std::u16string applicationCommand(std::u16string_view installDir, std::u16string_view workspace,
                                  std::span<const std::u16string> passThrough) {
  std::u16string line = installPath(installDir, u"\\eclipse\\jre\\bin\\java");
  line += u" -Xzq -cp ";
  line += installPath(installDir, u"\\eclipse\\startup.jar");
  line += u" org.eclipse.core.launcher.Main -noupdate  -application "
          u"com.vum.kel.KELpass.kelpass -data ";
  line += quotedArgument(workspace);
  line += u' ';
  appendPassThrough(line, passThrough);
  return line;
}

std::u16string serverCommand(std::u16string_view installDir, std::span<const std::u16string> passThrough) {
  std::u16string line = installPath(installDir, u"\\keltool");
  line += u" -s SetPassword";
  appendPassThrough(line, passThrough);
  return line;
}

}  // namespace kel
