// The browser platform's images: captured screen bands and the program's pictures, both kept by
// the page; the pictures are part of the page, so there is no folder to find them in.
#include "platform/platform_texts.h"
#include "platform/web/page_bridge.h"
#include "platform/web/web_platform.h"

namespace lab {

namespace {

// An image the page keeps for the program: a captured band or a decoded picture.
class PageImage : public PlatformImage {
 public:
  explicit PageImage(int id) : id(id) {}
  ~PageImage() override { lab_free_image(id); }
  PageImage(const PageImage&) = delete;
  PageImage& operator=(const PageImage&) = delete;
  const int id;
};

int imageId(const ImageHandle& image) {
  const auto* held = dynamic_cast<const PageImage*>(image.get());
  return held ? held->id : 0;
}

}  // namespace

ImageHandle WebPlatform::capture_image(int x1, int y1, int x2, int y2) {
  return std::make_shared<PageImage>(lab_capture_image(x1, y1, x2, y2));
}

void WebPlatform::put_image(const ImageHandle& image, int x, int y) {
  if (const int id = imageId(image)) lab_put_image(id, x, y);
}

ImageHandle WebPlatform::load_picture(const std::string& file_name) {
  const int id = lab_load_picture(file_name.c_str());
  if (id == 0) {
    message_box(missingPictureText(file_name), BoxSymbol::Information);
    return nullptr;
  }
  return std::make_shared<PageImage>(id);
}

void WebPlatform::put_picture_stretched(const ImageHandle& picture, int x, int y, int width,
                                        int height) {
  if (const int id = imageId(picture)) lab_put_picture(id, x, y, width, height);
}

// The pictures are part of the page; there is no folder to change to.
std::string WebPlatform::picture_folder() {
  return ".";
}

bool WebPlatform::set_current_folder(const std::string&) {
  return true;
}

}  // namespace lab
