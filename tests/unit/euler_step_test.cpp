// The Euler steps of the coil and the capacitor circuit against the closed form of their
// recurrences.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "model/circuit_params.h"
#include "model/simulation.h"

namespace lab {
namespace {

constexpr int On = 2;
constexpr int Off = 1;
constexpr int NeverOperated = 0;

CircuitParams coilParams(double Uo, double R, double R2, double L, double dt) {
  CircuitParams p;
  p.Uo = Uo;
  p.R = R;
  p.R2 = R2;
  p.Storage = L;
  p.dt = dt;
  p.RSum = R + R2;
  p.InvL = 1 / L;
  return p;
}

CircuitParams capacitorParams(double Uo, double R, double R2, double C, double dt) {
  CircuitParams p;
  p.Uo = Uo;
  p.R = R;
  p.R2 = R2;
  p.Storage = C;
  p.dt = dt;
  p.InvR = 1 / R;
  p.InvRSum = 1 / (R + R2);
  p.InvC = 1 / C;
  return p;
}

// Closeness relative to the size of the values, for results that went through many steps.
void expectClose(double actual, double expected, const std::string& what) {
  EXPECT_NEAR(actual, expected, 1e-12 * std::max(1.0, std::fabs(expected))) << what;
}

TEST(CoilStep, FirstStepSwitchedOnWithStartUpValues) {
  const StepValues step = coilStep(coilParams(10, 1, 0.5, 1, 0.05), On, 0, 0);
  EXPECT_EQ(step.U, -10);
  EXPECT_EQ(step.I, 0);
  EXPECT_EQ(step.increment, 0.5);
}

TEST(CoilStep, SwitchedOffTheVoltageIsTheCurrentThroughBothResistors) {
  const StepValues step = coilStep(coilParams(10, 1, 0.5, 1, 0.05), Off, 4, 0);
  EXPECT_EQ(step.U, 6);  // 4 * 1.5
  EXPECT_DOUBLE_EQ(step.increment, -0.3);
}

TEST(CoilStep, NeverOperatedSwitchKeepsThePreviousVoltage) {
  const StepValues step = coilStep(coilParams(10, 1, 0.5, 2, 0.05), NeverOperated, 3, -4);
  EXPECT_EQ(step.U, -4);
  EXPECT_EQ(step.increment, 0.1);  // 4 * 0.05 / 2
}

TEST(CoilStep, FortyStepsOnThenFortyOffFollowTheClosedForm) {
  const struct {
    double Uo, R, R2, L, dt;
  } cases[] = {{10, 1, 0.5, 1, 0.05},
               {5, 2, 0.099, 0.5, 0.1},
               {-7, 0.25, 4, 4, 0.99},
               {11.99, 4, 1, 3, 0.2}};
  for (const auto& c : cases) {
    const CircuitParams p = coilParams(c.Uo, c.R, c.R2, c.L, c.dt);
    const double onFactor = 1 - c.R * c.dt / c.L;
    const double offFactor = 1 - (c.R + c.R2) * c.dt / c.L;
    double I = 0;
    for (int k = 1; k <= 40; ++k) {
      const StepValues step = coilStep(p, On, I, 0);
      EXPECT_EQ(step.I, I);
      expectClose(step.U, I * c.R - c.Uo, "U on");
      I += step.increment;
      expectClose(I, c.Uo / c.R * (1 - std::pow(onFactor, k)), "I after k steps on");
    }
    const double I40 = I;
    for (int m = 1; m <= 40; ++m) {
      const StepValues step = coilStep(p, Off, I, 0);
      expectClose(step.U, I * (c.R + c.R2), "U off");
      I += step.increment;
      expectClose(I, I40 * std::pow(offFactor, m), "I after m steps off");
    }
  }
}

TEST(CapacitorStep, FirstStepSwitchedOnWithStartUpValues) {
  const StepValues step = capacitorStep(capacitorParams(10, 1, 1, 1, 0.05), On, 0, 0);
  EXPECT_EQ(step.U, 0);
  EXPECT_EQ(step.I, 10);
  EXPECT_EQ(step.increment, 0.5);
}

TEST(CapacitorStep, SwitchedOffTheCurrentIsMinusHalfTheVoltage) {
  const StepValues step = capacitorStep(capacitorParams(10, 1, 1, 1, 0.05), Off, 6, 0);
  EXPECT_EQ(step.I, -3);
  EXPECT_EQ(step.increment, -3 * 0.05);
}

TEST(CapacitorStep, NeverOperatedSwitchKeepsThePreviousCurrent) {
  const StepValues step = capacitorStep(capacitorParams(10, 1, 1, 0.5, 0.05), NeverOperated, 2, 4);
  EXPECT_EQ(step.I, 4);
  EXPECT_EQ(step.increment, 0.4);  // 4 * 0.05 / 0.5
}

TEST(CapacitorStep, FortyStepsOnThenFortyOffFollowTheClosedForm) {
  const struct {
    double Uo, R, R2, C, dt;
  } cases[] = {
      {10, 1, 1, 1, 0.05}, {5, 2, 0, 0.5, 0.1}, {-7, 0.25, 4, 4, 0.3}, {11.99, 4, 1, 3, 0.9}};
  for (const auto& c : cases) {
    const CircuitParams p = capacitorParams(c.Uo, c.R, c.R2, c.C, c.dt);
    const double onFactor = 1 - c.dt / (c.R * c.C);
    const double offFactor = 1 - c.dt / ((c.R + c.R2) * c.C);
    double U = 0;
    for (int k = 1; k <= 40; ++k) {
      const StepValues step = capacitorStep(p, On, U, 0);
      EXPECT_EQ(step.U, U);
      expectClose(step.I, (c.Uo - U) / c.R, "I on");
      U += step.increment;
      expectClose(U, c.Uo * (1 - std::pow(onFactor, k)), "U after k steps on");
    }
    const double U40 = U;
    for (int m = 1; m <= 40; ++m) {
      const StepValues step = capacitorStep(p, Off, U, 0);
      expectClose(step.I, -U / (c.R + c.R2), "I off");
      U += step.increment;
      expectClose(U, U40 * std::pow(offFactor, m), "U after m steps off");
    }
  }
}

}  // namespace
}  // namespace lab
