// The two programs' data: what differs between the coil program and the capacitor program
// (texts, defaults, ranges, record limit, table headings and picture names).
#pragma once

#include <string>
#include <vector>

#include "shell/lab_context.h"

namespace lab {

// The program's texts: the shared menu part with its two own entries, "ende", then the help part.
std::vector<std::string> builtInTexts(const std::string& initialValueEntry,
                                      const std::string& storageEntry,
                                      const std::vector<std::string>& helpPart);

const VariantData& coilVariant();
const VariantData& capacitorVariant();

}  // namespace lab
