// Drawing on the backing image: lines, boxes, text, clipping, capture and put back, and values
// that are huge or not numbers at all.
#include <cmath>
#include <limits>

#include "gui_support.h"

namespace lab::gui {
namespace {

class DrawingTest : public PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    ASSERT_GE(width, 420);
    ASSERT_GE(height, 600);
    ASSERT_TRUE(platform->set_window_background(0, Magenta));
    platform->set_colour(White);
    platform->set_back_colour(Blue);
  }
  bool is(int x, int y, Colour c) const { return pixel(x, y) == qcolour(c); }
};

TEST_F(DrawingTest, ImageIsTheDrawingAreaAndTakesTheBackground) {
  const QImage* image = platform->windowImage(0);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width(), width);
  EXPECT_EQ(image->height(), height);
  EXPECT_EQ(platform->mainWindow()->centralWidget()->size(), QSize(width, height));
  EXPECT_TRUE(is(0, 0, Magenta));
  EXPECT_TRUE(is(width - 1, height - 1, Magenta));
}

TEST_F(DrawingTest, TimeAxisLineLandsOnItsRow) {
  // The upper time axis at 800 x 600: y 141 from x 10 to 392.5, which rounds to 392.
  platform->draw_line(10, 141, 392.5, 141);
  EXPECT_TRUE(is(200, 141, White));
  EXPECT_TRUE(is(10, 141, White));
  EXPECT_TRUE(is(392, 141, White));
  EXPECT_FALSE(is(393, 141, White));
  EXPECT_FALSE(is(9, 141, White));
  EXPECT_FALSE(is(200, 143, White));
  EXPECT_FALSE(is(200, 140, White));
}

// For a projector: the panels' blue becomes white, white lines black and two pixels thick, the
// lever's magenta a dark purple.
TEST_F(DrawingTest, HighContrastDrawsDarkOnWhiteWithoutHairlines) {
  platform->useHighContrast();
  platform->set_colour(Blue);
  platform->fill_box(100, 100, 200, 200);
  platform->set_colour(White);
  platform->set_line_width(1);
  platform->draw_line(120, 150, 180, 150);
  platform->set_colour(Magenta);
  platform->draw_line(120, 170, 180, 170);
  EXPECT_TRUE(is(110, 110, White));
  EXPECT_TRUE(is(150, 150, Black));
  EXPECT_TRUE(is(150, 149, Black) || is(150, 151, Black));
  EXPECT_TRUE(is(150, 170, Colour{128, 0, 128}));
}

struct LineCase {
  double x1, y1, x2, y2;
  std::vector<QPoint> on;
  std::vector<QPoint> off;
};

TEST_F(DrawingTest, LinesIncludeBothEnds) {
  const std::vector<LineCase> cases = {
      {10, 549, 10, 294, {{10, 549}, {10, 294}, {10, 400}}, {{10, 550}, {10, 293}, {11, 400}}},
      {50, 50, 80, 80, {{50, 50}, {65, 65}, {80, 80}}, {{81, 81}, {49, 49}, {65, 70}}},
      {300, 20, 300, 20, {{300, 20}}, {{301, 20}, {300, 21}}},
  };
  for (const auto& c : cases) {
    platform->draw_line(c.x1, c.y1, c.x2, c.y2);
    for (const QPoint& p : c.on) EXPECT_TRUE(is(p.x(), p.y(), White)) << p.x() << "," << p.y();
    for (const QPoint& p : c.off) EXPECT_FALSE(is(p.x(), p.y(), White)) << p.x() << "," << p.y();
  }
}

TEST_F(DrawingTest, ThickLinesAreThreePixelsWide) {
  platform->set_line_width(3);
  platform->draw_line(100, 300, 200, 300);
  for (int y : {299, 300, 301}) EXPECT_TRUE(is(150, y, White)) << y;
  EXPECT_FALSE(is(150, 298, White));
  EXPECT_FALSE(is(150, 302, White));
}

TEST_F(DrawingTest, FillBoxCoversBothCorners) {
  platform->set_colour(Blue);
  platform->fill_box(5, 6, 398, 276);
  EXPECT_TRUE(is(5, 6, Blue));
  EXPECT_TRUE(is(398, 276, Blue));
  EXPECT_TRUE(is(200, 141, Blue));
  EXPECT_TRUE(is(4, 6, Magenta));
  EXPECT_TRUE(is(399, 276, Magenta));
  EXPECT_TRUE(is(398, 277, Magenta));
  EXPECT_TRUE(is(5, 5, Magenta));
}

TEST_F(DrawingTest, FillBoxTakesCornersInAnyOrder) {
  platform->fill_box(40, 50, 20, 30);
  EXPECT_TRUE(is(20, 30, White));
  EXPECT_TRUE(is(40, 50, White));
  EXPECT_TRUE(is(41, 50, Magenta));
  EXPECT_TRUE(is(19, 30, Magenta));
}

TEST_F(DrawingTest, BoxOutlinesBothCorners) {
  platform->draw_box(5, 285, 398, 558);
  for (const QPoint p : {QPoint(5, 285), QPoint(398, 558), QPoint(5, 558), QPoint(398, 285),
                         QPoint(200, 285), QPoint(200, 558), QPoint(5, 400), QPoint(398, 400)}) {
    EXPECT_TRUE(is(p.x(), p.y(), White)) << p.x() << "," << p.y();
  }
  for (const QPoint p : {QPoint(200, 400), QPoint(6, 286), QPoint(399, 400), QPoint(200, 559),
                         QPoint(4, 400), QPoint(200, 284)}) {
    EXPECT_TRUE(is(p.x(), p.y(), Magenta)) << p.x() << "," << p.y();
  }
}

TEST_F(DrawingTest, CircleLiesOnItsRadius) {
  platform->draw_circle(200, 200, 20);
  EXPECT_TRUE(is(220, 200, White) || is(219, 200, White));
  EXPECT_TRUE(is(200, 180, White) || is(200, 181, White));
  EXPECT_TRUE(is(200, 200, Magenta));
  EXPECT_TRUE(is(223, 200, Magenta));
}

TEST_F(DrawingTest, ClipKeepsALineInsideItsRectangleBothEdgesIncluded) {
  // The lower panel at 800 x 600: a curve segment running off both ends stays inside.
  platform->set_clip(0, 285, 398, 558);
  platform->draw_line(50, 100, 50, 700);
  platform->draw_line(300, 400, 600, 400);
  EXPECT_TRUE(is(50, 285, White));
  EXPECT_TRUE(is(50, 558, White));
  EXPECT_TRUE(is(50, 284, Magenta));
  EXPECT_TRUE(is(50, 559, Magenta));
  EXPECT_TRUE(is(398, 400, White));
  EXPECT_TRUE(is(399, 400, Magenta));
  platform->clear_clip();
  platform->draw_line(50, 100, 50, 700);
  EXPECT_TRUE(is(50, 284, White));
  EXPECT_TRUE(is(50, 559, White));
}

TEST_F(DrawingTest, ClearingHonoursTheClipAndUsesTheBackground) {
  platform->fill_box(0, 0, width - 1, height - 1);
  platform->set_clip(10, 10, 19, 19);
  platform->clear_window();
  EXPECT_TRUE(is(10, 10, Magenta));
  EXPECT_TRUE(is(19, 19, Magenta));
  EXPECT_TRUE(is(20, 20, White));
  platform->clear_clip();
  platform->clear_window();
  EXPECT_TRUE(is(20, 20, Magenta));
  EXPECT_TRUE(is(width - 1, height - 1, Magenta));
}

TEST_F(DrawingTest, CapturedBandIsPutBackPixelForPixel) {
  platform->set_colour(Blue);
  platform->fill_box(5, 6, 398, 276);
  platform->set_colour(White);
  platform->draw_line(10, 141, 392, 141);
  const ImageHandle band = platform->capture_image(0, 0, 398, 29);
  const ImageHandle strip = platform->capture_image(0, 130, 398, 150);
  platform->fill_box(0, 0, 500, 300);
  platform->put_image(band, 0, 0);
  platform->put_image(strip, 0, 130);
  EXPECT_TRUE(is(5, 6, Blue));
  EXPECT_TRUE(is(398, 29, Blue));
  EXPECT_TRUE(is(399, 29, White));  // the band ends at its last column
  EXPECT_TRUE(is(0, 0, Magenta));
  EXPECT_TRUE(is(200, 141, White));
  EXPECT_TRUE(is(200, 140, Blue));
  EXPECT_TRUE(is(200, 150, Blue));
  EXPECT_TRUE(is(200, 151, White));  // not part of either capture
}

TEST_F(DrawingTest, CheckeredBandWithoutRunsIsPutBackPixelForPixel) {
  // Every pixel differs from its neighbours: nothing to gain from runs of equal pixels.
  for (int x = 0; x < 40; ++x) {
    for (int y = 0; y < 4; ++y) {
      platform->set_colour((x + y) % 2 == 0 ? Blue : White);
      platform->draw_line(x, y, x, y);
    }
  }
  const ImageHandle band = platform->capture_image(0, 0, 39, 3);
  platform->set_colour(Magenta);
  platform->fill_box(0, 0, 50, 10);
  platform->put_image(band, 0, 0);
  for (int x = 0; x < 40; ++x) {
    for (int y = 0; y < 4; ++y) {
      EXPECT_TRUE(is(x, y, (x + y) % 2 == 0 ? Blue : White)) << x << "," << y;
    }
  }
  EXPECT_TRUE(is(40, 0, Magenta));  // the fill, not part of the band
  EXPECT_TRUE(is(0, 4, Magenta));
}

TEST_F(DrawingTest, PutImageHonoursTheClip) {
  const ImageHandle corner = platform->capture_image(0, 0, 99, 99);  // all magenta
  platform->fill_box(0, 0, 200, 200);
  platform->set_clip(0, 50, 200, 200);
  platform->put_image(corner, 0, 0);
  EXPECT_TRUE(is(10, 49, White));
  EXPECT_TRUE(is(10, 50, Magenta));
}

TEST_F(DrawingTest, OpaqueTextPaintsItsBackgroundBoxTransparentTextDoesNot) {
  platform->set_font_name("times");
  platform->set_font_size(12);
  const double w = platform->text_width("Zeit");
  const double h = platform->line_height();
  ASSERT_GT(w, 10);
  platform->draw_text(350, 144, "Zeit");
  // The box behind the text starts at the given corner.
  EXPECT_TRUE(is(350, 144, Blue));
  EXPECT_TRUE(is(349, 144, Magenta));
  EXPECT_TRUE(is(350, 143, Magenta));
  int whiteish = 0;  // the glyphs' edges are smoothed into the blue
  for (int x = 350; x < 350 + w; ++x) {
    for (int y = 144; y < 144 + h; ++y) whiteish += pixel(x, y).red() >= 128 ? 1 : 0;
  }
  EXPECT_GT(whiteish, 20);

  platform->set_text_transparent(true);
  platform->draw_text(100, 400, "Zeit");
  int blueAnywhere = 0;
  int lit = 0;
  for (int x = 98; x < 102 + w; ++x) {
    for (int y = 398; y < 402 + h; ++y) {
      blueAnywhere += is(x, y, Blue) ? 1 : 0;
      lit += is(x, y, Magenta) ? 0 : 1;
    }
  }
  EXPECT_EQ(blueAnywhere, 0);
  EXPECT_GT(lit, 5);
}

TEST_F(DrawingTest, FontSizeIsInPixelsAndFractionsCount) {
  platform->set_font_name("times");
  platform->set_font_size(12);
  const double small = platform->text_width("Ein- und Aus-");
  const double lineSmall = platform->line_height();
  platform->set_font_size(38.4);
  const double large = platform->text_width("Ein- und Aus-");
  platform->set_font_size(38.0);
  const double slightlySmaller = platform->text_width("Ein- und Aus-");
  EXPECT_NEAR(large / small, 3.2, 0.2);
  EXPECT_GT(large, slightlySmaller);
  EXPECT_GE(lineSmall, 12.0);
  EXPECT_LE(lineSmall, 16.0);
}

TEST_F(DrawingTest, MonoFontHasFixedPitch) {
  platform->set_font_name("mono");
  platform->set_font_size(10);
  EXPECT_DOUBLE_EQ(platform->text_width("iiiii"), platform->text_width("WWWWW"));
  EXPECT_NEAR(platform->text_width("µ"), platform->text_width("u"), 1e-9);
}

TEST_F(DrawingTest, HugeAndUndefinedCoordinatesAreSafe) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  platform->draw_line(nan, 10, 20, 20);
  platform->fill_box(nan, nan, 10, 10);
  platform->draw_circle(100, 100, nan);
  platform->draw_text(nan, 5, "x");
  EXPECT_TRUE(is(15, 15, Magenta));
  EXPECT_TRUE(is(5, 5, Magenta));
  // A segment to a point far away keeps its direction inside the window.
  platform->draw_line(10, 100, 1e300, 100);
  EXPECT_TRUE(is(width - 1, 100, White));
  EXPECT_TRUE(is(width - 1, 101, Magenta));
  platform->draw_line(20, 200, 20, inf);
  EXPECT_TRUE(is(20, height - 1, White));
  platform->draw_line(-inf, -inf, inf, inf);
  platform->draw_box(-1e18, -1e18, 1e18, 1e18);
  platform->draw_circle(1e200, -1e200, 1e300);
  platform->set_clip(-inf, nan, inf, inf);
  platform->draw_line(30, 30, 40, 40);
  EXPECT_TRUE(is(35, 35, Magenta));  // a clip with an undefined corner lets nothing through
}

}  // namespace
}  // namespace lab::gui
