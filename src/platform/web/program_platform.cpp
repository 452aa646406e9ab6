// The programs in the browser run on the web platform.
#include "platform/program_platform.h"

#include "platform/web/web_platform.h"

namespace lab {

std::unique_ptr<Platform> makeProgramPlatform(int&, char**, const std::string& programName) {
  return std::make_unique<WebPlatform>(programName);
}

}  // namespace lab
