// The table of values as text a spreadsheet takes as it is: one line a row, cells parted by tabs.
#pragma once

#include <string>
#include <vector>

namespace lab {

std::string tabSeparated(const std::vector<std::vector<std::string>>& rows);

}  // namespace lab
