#include "kelpass_commands.h"

#include "crt_arguments.h"
#include "install_path.h"

namespace kel {

std::string defaultWorkspace(std::string_view installDir) {
  return std::string(installDir) + "\\eclipse\\workspace";
}

std::string applicationCommand(std::string_view installDir, std::string_view workspace,
                               std::span<const std::string> passThrough) {
  std::string line = installPath(installDir, "\\eclipse\\jre\\bin\\java");
  line += " -Xzq -cp ";
  line += installPath(installDir, "\\eclipse\\startup.jar");
  line += " org.eclipse.core.launcher.Main -noupdate  -application "
          "com.vum.kel.KELpass.kelpass -data ";
  line += quotedArgument(workspace);
  line += ' ';
  appendPassThrough(line, passThrough);
  return line;
}

std::string serverCommand(std::string_view installDir, std::span<const std::string> passThrough) {
  std::string line = installPath(installDir, "\\keltool");
  line += " -s SetPassword";
  appendPassThrough(line, passThrough);
  return line;
}

}  // namespace kel
