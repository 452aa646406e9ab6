// Message boxes, the help texts carried in the program's texts, and the boxes of the menu.
#include "shell/messages.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "platform/platform.h"
#include "shell/credits.h"
#include "shell/shell_state.h"
#include "tools/redraw.h"

namespace lab {

void ShowMessage(Platform& platform, const ShellState& shell) {
  platform.message_box(shell.MessageText, BoxSymbol::Information);
}

MessageHandler messageShower(Platform& platform, ShellState& shell) {
  return [&platform, &shell](const std::string& text) {
    shell.MessageText = text;
    ShowMessage(platform, shell);
  };
}

void LoadHelpText(ShellState& shell, const ShellVariant& variant) {
  const std::vector<std::string>& texts = variant.BuiltInTexts;
  const auto menuEnd = std::find(texts.begin(), texts.end(), "ende");
  std::size_t item = static_cast<std::size_t>(menuEnd - texts.begin()) + 1;
  // Entry 0 stays empty; reading stops at the end of the table, so an over-long help text is
  // cut off instead of running past it.
  int i = 1;
  for (; item < texts.size() && i < HelpLinesSize; ++item, ++i) {
    shell.HelpLines[i] = texts[item];
    if (texts[item] == "*") break;
  }
  shell.HelpLineCount = i - 1;
}

void ShowKeysHelp(Platform& platform, ShellState& shell) {
  shell.MessageText =
      " Tasten <0> u. <1> | bedienen den Schalter !|| Die Zeit läuft, wenn eine| der Tasten "
      "gedrückt ist.";
  ShowMessage(platform, shell);
}

void ShowHelpText(Platform& platform, ShellState& shell, ModelState& model, DisplayState& display,
                  CircuitVariant kind) {
  std::string text;
  for (int i = 1; i <= shell.HelpLineCount; ++i) text += shell.HelpLines[i] + "|";
  shell.MessageText = text;
  ShowMessage(platform, shell);
  platform.set_output_window(0);
  RestartGraph(platform, model, display, kind);
}

void ShowAuthor(Platform& platform) {
  const std::string text = std::string("Programmautor:     ||") + CreditAuthorName + "||" +
                           CreditSchool + "|" + CreditPostcodeTown + "|" + CreditStreet + "| ";
  platform.message_box(text, BoxSymbol::Author);
}

void ShowNotImplemented(Platform& platform, ShellState& shell) {
  shell.MessageText = "Hier nicht implementiert";
  ShowMessage(platform, shell);
}

}  // namespace lab
