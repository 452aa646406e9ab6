// The browser platform's menu bar, built by the page from the program's menu table, and the
// hand-off of the menu choices the page queued, nested inside whatever waits.
#include "platform/web/page_bridge.h"
#include "platform/web/web_platform.h"

namespace lab {

void WebPlatform::install_menu(const std::vector<std::string>& table, MenuHandler handler) {
  menuHandler_ = std::move(handler);
  std::vector<const char*> entries;
  entries.reserve(table.size());
  for (const std::string& entry : table) entries.push_back(entry.c_str());
  lab_install_menu(entries.data(), static_cast<int>(entries.size()));
}

void WebPlatform::runQueuedMenuChoices() {
  for (int index = lab_take_menu_choice(); index >= 0; index = lab_take_menu_choice()) {
    runMenuChoice(index);
  }
}

void WebPlatform::runMenuChoice(int index) {
  if (!main_window_exists() || boxDepth_ > 0 || !menuHandler_) return;
  menuHandler_(index);
}

}  // namespace lab
