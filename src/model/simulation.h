// Time stepping: the Euler step of each circuit and the record of a run.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace lab {

struct CircuitParams;
struct ModelState;
struct ModelVariant;
enum class CircuitVariant;

inline constexpr int SampleLogSize = 61;  // indices 0 to 60

struct SampleLog {
  std::array<double, SampleLogSize> t{};
  std::array<double, SampleLogSize> U{};
  std::array<double, SampleLogSize> I{};
  std::array<double, SampleLogSize> d{};  // coil: dI of the step; capacitor: dU of the step
};

struct SimulationState {
  double t = -0.05;
  double I = 0.0;  // coil: the state; capacitor: current of the step
  double U = 0.0;  // capacitor: the state; coil: induced voltage of the step
  double increment = 0.0;
  std::int32_t StepCounter = 0;
  std::string keyText;  // the key of the step: "1" or "0"; anything else makes no step
};

// The values of one Euler step, all taken at the start of the step.
struct StepValues {
  double U = 0.0;
  double I = 0.0;
  double increment = 0.0;  // coil: dI; capacitor: dU
};

// Coil: induced voltage U and current change dI from the coil current I. With the switch never
// operated (0) the previous U stays.
StepValues coilStep(const CircuitParams& p, int switchState, double I, double previousU);
// Capacitor: current I and voltage change dU from the capacitor voltage U. With the switch never
// operated (0) the previous I stays.
StepValues capacitorStep(const CircuitParams& p, int switchState, double U, double previousI);

// Called with the values of a step once it is recorded, before the state moves on: the layers
// above draw the step's segment there (and may wait in a prompt that runs nested commands).
using StepHandler = std::function<void(double t, double U, double I, double increment)>;

// The Euler step of the program's circuit, from the state at the start of the step.
void modelUpdate(ModelState& model, const ModelVariant& variant, const StepHandler& stepComputed);
// Counts the step and records it while below the record limit.
void recordStep(ModelState& model, const ModelVariant& variant, double t, double U, double I,
                double increment);
// The model's part of "(Neu-)&Start": time, step count and record from the beginning of a run.
void newStartState(ModelState& model, CircuitVariant kind);
// The model's part of a restart on the blank graph: time 0 next, the state from its initial value.
void restartState(ModelState& model, CircuitVariant kind);

}  // namespace lab
