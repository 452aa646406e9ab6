// The fields of the circuit parameters by name and the derived values that follow from them.
#include "model/circuit_params.h"

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

void recomputeDerived(CircuitParams& p, CircuitVariant kind, Quantity field) {
  const bool resistor = field == Quantity::R || field == Quantity::R2;
  switch (kind) {
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

}  // namespace lab
