#include "keltool_command.h"

#include "crt_arguments.h"
#include "install_path.h"

namespace kel {

std::u16string toolClientCommand(std::u16string_view installDir, std::span<const std::u16string> arguments) {
  std::u16string line = installPath(installDir, u"\\eclipse\\jre\\bin\\java");
  line += u" -jar ";
  line += installPath(installDir, u"\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar");
  appendPassThrough(line, arguments);
  return line;
}

}  // namespace kel
