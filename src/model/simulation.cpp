// Time stepping: the Euler step of each circuit, the record of a run, the new start and the
// restart of a run.
#include "model/simulation.h"

#include <limits>

#include "model/model_state.h"

namespace lab {

StepValues coilStep(const CircuitParams& p, int switchState, double I, double previousU) {
  StepValues step;
  step.I = I;
  step.U = previousU;
  if (switchState == 2) step.U = I * p.R - p.Uo;
  if (switchState == 1) step.U = I * p.RSum;
  step.increment = ((-step.U) * p.dt) * p.InvL;
  return step;
}

StepValues capacitorStep(const CircuitParams& p, int switchState, double U, double previousI) {
  StepValues step;
  step.U = U;
  step.I = previousI;
  if (switchState == 2) step.I = (p.Uo - U) * p.InvR;
  if (switchState == 1) step.I = (-U) * p.InvRSum;
  step.increment = (step.I * p.dt) * p.InvC;
  return step;
}

void modelUpdate(ModelState& model, const ModelVariant& variant, const StepHandler& stepComputed) {
  SimulationState& sim = model.sim;
  sim.t = sim.t + model.params.dt;
  switch (variant.kind) {
    case CircuitVariant::Coil: {
      const StepValues step = coilStep(model.params, model.SwitchState, sim.I, sim.U);
      sim.U = step.U;
      sim.increment = step.increment;
      recordStep(model, variant, sim.t, step.U, step.I, step.increment);
      stepComputed(sim.t, step.U, step.I, step.increment);
      sim.I = sim.I + step.increment;
      break;
    }
    case CircuitVariant::Capacitor: {
      const StepValues step = capacitorStep(model.params, model.SwitchState, sim.U, sim.I);
      sim.I = step.I;
      sim.increment = step.increment;
      recordStep(model, variant, sim.t, step.U, step.I, step.increment);
      stepComputed(sim.t, step.U, step.I, step.increment);
      sim.U = sim.U + step.increment;
      break;
    }
  }
}

void recordStep(ModelState& model, const ModelVariant& variant, double t, double U, double I,
                double increment) {
  SimulationState& sim = model.sim;
  // Counting stops at the top of its range instead of overflowing after years of key presses.
  if (sim.StepCounter < std::numeric_limits<std::int32_t>::max()) ++sim.StepCounter;
  const std::int32_t k = sim.StepCounter;
  if (k >= 0 && k < variant.recordLimit && k < SampleLogSize) {
    model.sampleLog.t[k] = t;
    model.sampleLog.U[k] = U;
    model.sampleLog.I[k] = I;
    model.sampleLog.d[k] = increment;
  }
}

void newStartState(ModelState& model, CircuitVariant kind) {
  SimulationState& sim = model.sim;
  const CircuitParams& p = model.params;
  sim.t = -p.dt;
  sim.StepCounter = -1;
  model.sampleLog = SampleLog{};

  if (kind == CircuitVariant::Capacitor) {
    const double Ur = p.RestartVoltage;
    double Ir = 0;
    if (model.SwitchState == 2) Ir = (p.Uo - Ur) * p.InvR;
    if (model.SwitchState == 1) Ir = (-Ur) * p.InvRSum;
    sim.U = Ur + (Ir * p.dt) * p.InvC;
  }
}

void restartState(ModelState& model, CircuitVariant kind) {
  SimulationState& sim = model.sim;
  sim.t = -model.params.dt;  // the next step adds dt and runs at time 0
  switch (kind) {
    case CircuitVariant::Coil:
      sim.I = model.params.Initial;
      sim.U = 0;
      break;
    case CircuitVariant::Capacitor:
      sim.U = model.params.Initial;
      sim.I = 0;
      break;
  }
}

}  // namespace lab
