// The circuit diagram of the right panel and its switch lever.
#pragma once

#include "model/circuit_params.h"

namespace lab {

class Platform;
struct DisplayVariant;
struct ModelState;
struct ScreenLayout;

void DrawCircuit(Platform& platform, const ScreenLayout& layout, CircuitVariant kind,
                 const DisplayVariant& variant);
// The lever to a switch position; the model's SwitchState follows it.
void SwitchTo1(Platform& platform, const ScreenLayout& layout, CircuitVariant kind,
               ModelState& model);
void SwitchTo0(Platform& platform, const ScreenLayout& layout, CircuitVariant kind,
               ModelState& model);

}  // namespace lab
