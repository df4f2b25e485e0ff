#include "run_command.h"

#include <cstdio>
#include <cstdlib>

#include "interpreter_line.h"

namespace kel {

int runThroughInterpreter(std::string_view programLine) {
  const InterpreterLine line = prepareInterpreterLine(programLine);
  if (!line.refusal.empty()) {
    std::puts(line.refusal.c_str());
    return kCommandRefused;
  }
  return std::system(line.text.c_str());
}

}  // namespace kel
