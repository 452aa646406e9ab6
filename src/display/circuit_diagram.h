// The circuit diagram of the right panel and its switch lever.
#pragma once

namespace lab {

struct LabContext;

void DrawCircuit(LabContext& ctx);
void SwitchTo1(LabContext& ctx);
void SwitchTo0(LabContext& ctx);

}  // namespace lab
