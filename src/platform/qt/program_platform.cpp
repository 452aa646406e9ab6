// The desktop programs run on the Qt platform, given a graphical desktop to run on.
#include "platform/program_platform.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include <xcb/xcb.h>

#include "platform/high_contrast.h"
#include "platform/qt/qt_platform.h"

namespace lab {
namespace {

std::string_view environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool xDisplayOpens() {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool opened = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return opened;
}

// Qt aborts the program when its window system cannot be reached, so it is tried here first.
// A platform chosen by name that is neither X nor Wayland (the tests' offscreen) needs none.
bool desktopReachable() {
  const std::string_view platform = environment("QT_QPA_PLATFORM");
  const bool x = platform.empty() || platform.find("xcb") != std::string_view::npos;
  const bool wayland = platform.empty() || platform.find("wayland") != std::string_view::npos;
  if (!x && !wayland) return true;
  if (wayland && !environment("WAYLAND_DISPLAY").empty()) return true;
  return x && !environment("DISPLAY").empty() && xDisplayOpens();
}

// The teacher's switch for a projector: --kontrast=hoch, or SCHALTLABOR_KONTRAST=hoch for a
// desktop entry or a whole room's computers.
bool highContrastAsked(int argc, char** argv) {
  constexpr std::string_view Option = "--kontrast=";
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument.starts_with(Option)) return asksHighContrast(argument.substr(Option.size()));
  }
  return asksHighContrast(environment("SCHALTLABOR_KONTRAST"));
}

}  // namespace

std::unique_ptr<Platform> makeProgramPlatform(int& argc, char** argv,
                                              const std::string& programName) {
  if (!desktopReachable()) {
    // stdio, not iostream: the streams' start-up would cost every run a third of a megabyte.
    std::fprintf(stderr,
                 "%s: Das Programm braucht eine grafische Oberfläche, es ist aber keine "
                 "erreichbar.\n",
                 programName.c_str());
    std::exit(1);
  }
  auto platform = std::make_unique<QtPlatform>(argc, argv, programName);
  if (highContrastAsked(argc, argv)) platform->useHighContrast();
  return platform;
}

}  // namespace lab
