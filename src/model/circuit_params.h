// The component values of a circuit, their derived sums and reciprocals.
#pragma once

namespace lab {

// The two programs; a formula that differs between them switches on this.
enum class CircuitVariant { Coil, Capacitor };

// The six values a pupil can set; the dialogs and the summary address them by this name.
enum class Quantity { Uo, Initial, R, R2, Storage, dt };

struct CircuitParams {
  double Uo = 10.0;
  double Initial = 0.0;  // coil: initial current I0; capacitor: initial voltage U0
  double R = 1.0;
  double R2 = 0.5;
  double Storage = 1.0;  // coil: inductance L; capacitor: capacitance C
  double dt = 0.05;

  // Derived values; the stepping multiplies by the reciprocals and never divides.
  double RSum = 1.5;     // coil: R + R2
  double InvL = 1.0;     // coil: 1 / L
  double InvR = 1.0;     // capacitor: 1 / R
  double InvRSum = 0.5;  // capacitor: 1 / (R + R2)
  double InvC = 1.0;     // capacitor: 1 / C

  double RestartVoltage = 0.0;  // capacitor: the battery voltage a new start charges to
};

// Recomputes the derived values that depend on the field just stored.
void recomputeDerived(CircuitParams& params, CircuitVariant kind, Quantity field);

double& fieldOf(CircuitParams& params, Quantity field);
double fieldOf(const CircuitParams& params, Quantity field);

}  // namespace lab
