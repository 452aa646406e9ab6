// The desktop programs run on the Qt platform.
#include "platform/program_platform.h"

#include "platform/qt/qt_platform.h"

namespace lab {

std::unique_ptr<Platform> makeProgramPlatform(int& argc, char** argv,
                                              const std::string& programName) {
  return std::make_unique<QtPlatform>(argc, argv, programName);
}

}  // namespace lab
