#include "keltool_command.h"

#include "crt_arguments.h"

namespace kel {

std::string toolClientCommand(std::string_view installDir, std::span<const std::string> arguments) {
  std::string line(installDir);
  line += "\\eclipse\\jre\\bin\\java -jar ";
  line += installDir;
  line += "\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar";
  appendPassThrough(line, arguments);
  return line;
}

}  // namespace kel
