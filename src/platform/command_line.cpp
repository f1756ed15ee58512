#include "platform/command_line.h"

namespace zav {
namespace platform {

std::string cmdExeTsharkCommandLine(const std::string& tsharkPath, const std::string& capturePath,
                                    const std::string& text) {
  return "\"\"" + tsharkPath + "\" -r \"" + capturePath + "\" " + text + "\"";
}

std::string posixSingleQuoted(const std::string& value) {
  std::string quoted = "'";
  for (char c : value) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  quoted += '\'';
  return quoted;
}

std::string posixTsharkCommandLine(const std::string& tsharkPath, const std::string& capturePath,
                                   const std::string& text) {
  return posixSingleQuoted(tsharkPath) + " -r " + posixSingleQuoted(capturePath) + " " + text;
}

}  // namespace platform
}  // namespace zav
