// The shell's part of a program run: its variant texts and its state (menu table, help lines,
// message text, command depth).
#pragma once

#include <string>
#include <vector>

namespace lab {

inline constexpr int MenuTableSize = 81;  // indices 0 to 80
inline constexpr int HelpLinesSize = 23;  // indices 0 to 22

struct ShellVariant {
  std::string programName;
  std::string caption;
  // Menu part ended by "ende", then the help part ended by "*".
  std::vector<std::string> BuiltInTexts;
  std::string titleThirdLine;
  int titleThirdLineX;  // grid x
};

struct ShellState {
  std::string MessageText;
  int CommandDepth = 0;  // commands running, each inside the wait of the one before

  std::vector<std::string> MenuTable = std::vector<std::string>(MenuTableSize);
  std::vector<std::string> HelpLines = std::vector<std::string>(HelpLinesSize);
  int HelpLineCount = 0;
};

}  // namespace lab
