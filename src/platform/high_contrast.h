// The drawing's colours for a projector, or a pupil who needs more contrast than the blue panels
// give: dark lines and text on white, the switch lever a dark purple.
#pragma once

#include <string_view>

#include "platform/platform.h"

namespace lab {

// A pen's colour: the panels' blue (and what fills or rubs out on them) becomes their white
// ground, the lever's magenta a dark purple (9 : 1 on white), every other pen black.
Colour highContrastPen(Colour asked);
// Every ground, a window's and a text's, is white.
Colour highContrastGround(Colour asked);
// The teacher's switch for the palette: "hoch" on, anything else off.
bool asksHighContrast(std::string_view setting);

}  // namespace lab
