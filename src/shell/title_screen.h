// The title screen shown once at start-up.
#pragma once

namespace lab {

struct LabContext;

void TitleScreen(LabContext& ctx);

}  // namespace lab
