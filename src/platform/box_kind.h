// The kinds of message box the platforms show: the two symbols the program asks for, and the
// run-time error report that the platforms show of their own accord.
#pragma once

#include "platform/platform.h"

namespace lab {

enum class BoxKind { Information, Author, Critical };

inline BoxKind boxKindOf(BoxSymbol symbol) {
  return symbol == BoxSymbol::Author ? BoxKind::Author : BoxKind::Information;
}

}  // namespace lab
