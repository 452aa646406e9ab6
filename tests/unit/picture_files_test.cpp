// The four schematic pictures in assets/: present under their exact names and whole GIF files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "variants/variant_data.h"

namespace lab {
namespace {

std::vector<unsigned char> readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PictureFiles, EveryPictureTheProgramsNameIsAWholeGif) {
  const std::filesystem::path assets =
      std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "assets";
  for (const VariantData* variant : {&coilVariant(), &capacitorVariant()}) {
    for (const std::string& name : {variant->switchOnPicture, variant->switchOffPicture}) {
      SCOPED_TRACE(name);
      const std::vector<unsigned char> bytes = readFile(assets / name);
      ASSERT_GT(bytes.size(), 13u);
      const std::string signature(bytes.begin(), bytes.begin() + 6);
      EXPECT_TRUE(signature == "GIF89a" || signature == "GIF87a") << signature;
      const int width = bytes[6] | (bytes[7] << 8);
      const int height = bytes[8] | (bytes[9] << 8);
      // big enough to stay clear when stretched over a 1920 x 1080 screen's picture rectangle
      EXPECT_GE(width, 640);
      EXPECT_GE(height, 400);
      EXPECT_EQ(bytes.back(), 0x3B);  // the trailer: the file was written to its end
    }
  }
}

}  // namespace
}  // namespace lab
