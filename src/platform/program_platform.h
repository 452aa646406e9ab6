// The platform a program runs on. Each platform library (desktop or browser) provides it, so
// the two mains name no platform and build unchanged for either.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace lab {

std::unique_ptr<Platform> makeProgramPlatform(int& argc, char** argv,
                                              const std::string& programName);

}  // namespace lab
