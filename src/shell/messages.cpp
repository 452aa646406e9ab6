// Message boxes, the help texts carried in the program's texts, and the boxes of the menu.
#include "shell/messages.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "lab_context.h"
#include "shell/credits.h"
#include "tools/redraw.h"

namespace lab {

void ShowMessage(LabContext& ctx) {
  ctx.platform.message_box(ctx.MessageText, BoxSymbol::Information);
}

void LoadHelpText(LabContext& ctx) {
  const std::vector<std::string>& texts = ctx.variant.BuiltInTexts;
  const auto menuEnd = std::find(texts.begin(), texts.end(), "ende");
  std::size_t item = static_cast<std::size_t>(menuEnd - texts.begin()) + 1;
  // Entry 0 stays empty; reading stops at the end of the table, so an over-long help text is
  // cut off instead of running past it.
  int i = 1;
  for (; item < texts.size() && i < HelpLinesSize; ++item, ++i) {
    ctx.HelpLines[i] = texts[item];
    if (texts[item] == "*") break;
  }
  ctx.HelpLineCount = i - 1;
}

void ShowKeysHelp(LabContext& ctx) {
  ctx.MessageText =
      " Tasten <0> u. <1> | bedienen den Schalter !|| Die Zeit läuft, wenn eine| der Tasten "
      "gedrückt ist.";
  ShowMessage(ctx);
}

void ShowHelpText(LabContext& ctx) {
  std::string text;
  for (int i = 1; i <= ctx.HelpLineCount; ++i) text += ctx.HelpLines[i] + "|";
  ctx.MessageText = text;
  ShowMessage(ctx);
  ctx.platform.set_output_window(0);
  RestartGraph(ctx);
}

void ShowAuthor(LabContext& ctx) {
  const std::string text = std::string("Programmautor:     ||") + CreditAuthorName + "||" +
                           CreditSchool + "|" + CreditPostcodeTown + "|" + CreditStreet + "| ";
  ctx.platform.message_box(text, BoxSymbol::Author);
}

void ShowNotImplemented(LabContext& ctx) {
  ctx.MessageText = "Hier nicht implementiert";
  ShowMessage(ctx);
}

}  // namespace lab
