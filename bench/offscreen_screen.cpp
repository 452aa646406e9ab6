// The offscreen platform reads its screens from a small JSON file named in its options.
#include "offscreen_screen.h"

#include <filesystem>
#include <fstream>
#include <string>

#include <QByteArray>
#include <QtGlobal>

namespace lab::bench {

void useOffscreenScreen(int width, int height) {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return;
  const std::string name =
      "lab-bench-screen-" + std::to_string(width) + "x" + std::to_string(height) + ".json";
  const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
  std::ofstream(path) << R"({"screens":[{"name":"bench","x":0,"y":0,"width":)" << width
                      << R"(,"height":)" << height
                      << R"(,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})" << '\n';
  qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString("offscreen:configfile=" + path.string()));
}

}  // namespace lab::bench
