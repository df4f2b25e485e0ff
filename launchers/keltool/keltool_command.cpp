#include "keltool_command.h"

#include "crt_arguments.h"
#include "install_path.h"

namespace kel {

std::string toolClientCommand(std::string_view installDir, std::span<const std::string> arguments) {
  std::string line = installPath(installDir, "\\eclipse\\jre\\bin\\java");
  line += " -jar ";
  line += installPath(installDir, "\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar");
  appendPassThrough(line, arguments);
  return line;
}

}  // namespace kel
