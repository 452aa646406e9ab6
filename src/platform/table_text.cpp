// The table's rows as tab-separated text, for the clipboard and the page's own table.
#include "platform/table_text.h"

namespace lab {

std::string tabSeparated(const std::vector<std::vector<std::string>>& rows) {
  std::string text;
  for (const auto& row : rows) {
    for (std::size_t k = 0; k < row.size(); ++k) text += (k > 0 ? "\t" : "") + row[k];
    text += "\n";
  }
  return text;
}

}  // namespace lab
