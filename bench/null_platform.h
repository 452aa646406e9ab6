// A platform that draws nothing and never waits: what is left of a time step is the model,
// the record and the plot mapping.
#pragma once

#include <string>

#include "silent_platform.h"

namespace lab::bench {

class NullPlatform : public SilentPlatform {
 public:
  using SilentPlatform::SilentPlatform;

  // The number of segments asked for, so the compiler cannot drop the drawing calls.
  long lines = 0;

  bool main_window_exists() override { return true; }
  void draw_line(double, double, double, double) override { ++lines; }
  // Always a key, so that a prompt at the end of the time axis returns at once.
  std::string read_key() override { return " "; }
  LineResult read_line() override { return {LineStatus::Entered, ""}; }
};

}  // namespace lab::bench
