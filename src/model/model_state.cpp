// The start-up values of a program run and the storing of a parameter a pupil has set.
#include "model/model_state.h"

namespace lab {

namespace {

// What an accepted value sets besides its own field.
void extraStores(ModelState& model, CircuitVariant kind, Quantity quantity, double value) {
  const bool coil = kind == CircuitVariant::Coil;
  switch (quantity) {
    case Quantity::Uo:
      if (!coil) model.params.RestartVoltage = value;
      break;
    case Quantity::Initial:
      if (coil) {
        model.sim.I = value;
        model.sampleLog.I[0] = value;
      } else {
        model.sampleLog.U[0] = value;
      }
      break;
    case Quantity::dt:
      model.sim.StepCounter = 0;
      break;
    case Quantity::R:
    case Quantity::R2:
    case Quantity::Storage:
      break;
  }
}

}  // namespace

void loadCircuitDefaults(ModelState& model, const ModelVariant& variant) {
  model.params = variant.defaults;
  for (Quantity field : {Quantity::R, Quantity::R2, Quantity::Storage}) {
    recomputeDerived(model.params, variant.kind, field);
  }
  model.sim.t = -model.params.dt;
  model.sampleLog.U[0] = 0;
}

void storeParameter(ModelState& model, CircuitVariant kind, Quantity quantity, double value) {
  fieldOf(model.params, quantity) = value;
  extraStores(model, kind, quantity, value);
  recomputeDerived(model.params, kind, quantity);
}

}  // namespace lab
