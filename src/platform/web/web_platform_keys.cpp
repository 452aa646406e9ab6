// The browser platform's keys: the key characters the page queued, read one at a time.
#include "platform/web/page_bridge.h"
#include "platform/web/web_platform.h"

namespace lab {

std::string WebPlatform::read_key() {
  runQueuedMenuChoices();
  return PageText(lab_read_key());
}

}  // namespace lab
