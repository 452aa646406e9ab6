// Switching and time stepping: the Euler step, the record of a run and the curve drawing.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace lab {

struct LabContext;
struct CircuitParams;

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
  std::int16_t x = 0;
  std::int16_t prevX = 0;
  std::int16_t yCurrent = 0;
  std::int16_t prevYCurrent = 0;
  std::int16_t yVoltage = 0;
  std::int16_t prevYVoltage = 0;
  bool SegmentStarted = false;
  std::string keyText;
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

// One pass of the main loop: waits for key 1 or 0 and advances the circuit one step.
void simulationStep(LabContext& ctx);
// Waits for key 1 or 0 (or the quit marker, or the end of the main window) and sets the switch.
void readSwitchKey(LabContext& ctx);
// The Euler step of the program's circuit, from the state at the start of the step.
void modelUpdate(LabContext& ctx);
// Records the step while below the record limit and draws one segment of each curve.
void plotAndRecord(LabContext& ctx, double t, double U, double I, double increment);
// "(Neu-)&Start": time, record and graph start from the beginning of a run.
void newStart(LabContext& ctx);

}  // namespace lab
