// The start-up values of a program run and the derived values of the circuit parameters.
#include "model/circuit_params.h"

#include <cstdint>

#include "display/screen_layout.h"
#include "lab_context.h"

namespace lab {

double& fieldOf(CircuitParams& params, Quantity field) {
  switch (field) {
    case Quantity::Uo:
      return params.Uo;
    case Quantity::Initial:
      return params.Initial;
    case Quantity::R:
      return params.R;
    case Quantity::R2:
      return params.R2;
    case Quantity::Storage:
      return params.Storage;
    case Quantity::dt:
      break;
  }
  return params.dt;
}

double fieldOf(const CircuitParams& params, Quantity field) {
  return fieldOf(const_cast<CircuitParams&>(params), field);
}

void recomputeDerived(LabContext& ctx, Quantity field) {
  CircuitParams& p = ctx.params;
  const bool resistor = field == Quantity::R || field == Quantity::R2;
  switch (ctx.variant.kind) {
    case CircuitVariant::Coil:
      if (resistor) p.RSum = p.R + p.R2;
      if (field == Quantity::Storage) p.InvL = 1 / p.Storage;
      break;
    case CircuitVariant::Capacitor:
      if (field == Quantity::R) p.InvR = 1 / p.R;
      if (resistor) p.InvRSum = 1 / (p.R + p.R2);
      if (field == Quantity::Storage) p.InvC = 1 / p.Storage;
      break;
  }
}

void loadCircuitDefaults(LabContext& ctx) {
  ctx.params = ctx.variant.defaults;
  for (Quantity field : {Quantity::R, Quantity::R2, Quantity::Storage}) {
    recomputeDerived(ctx, field);
  }
  ctx.sim.t = -ctx.params.dt;
  ctx.DrawMode = "j";
  ctx.ScreenValueFormat = " -###,##";
  ctx.PrintValueFormat = " -###,##";
  ctx.layout.SnapshotBottom = static_cast<std::int16_t>(ScaleY(ctx.layout, 199));
  ctx.sampleLog.U[0] = 0;
}

}  // namespace lab
