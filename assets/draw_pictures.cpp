// Draws the four schematic pictures (coil and capacitor, switched on and off) and writes them
// as GIF files: draw_pictures [folder]. The programs show them stretched over the main window.
#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int Width = 960;
constexpr int Height = 600;

// Palette indices.
enum Ink : std::uint8_t { Back, White, Yellow, Magenta, Dim, Count = 8 };

constexpr std::array<GifColorType, Count> Palette = {{{0, 0, 150},
                                                      {255, 255, 255},
                                                      {255, 220, 0},
                                                      {255, 0, 255},
                                                      {110, 130, 215},
                                                      {0, 0, 0},
                                                      {0, 0, 0},
                                                      {0, 0, 0}}};

// A 5 x 9 glyph per character: rows top down, '#' set, rows left out at the bottom are empty.
// Capitals and ascenders use rows 0-6, lower case rows 2-6, descenders reach row 8.
const std::map<std::u32string, std::string>& glyphs() {
  static const std::map<std::u32string, std::string> table = {
      {U" ", ""},
      {U"A", ".###.|#...#|#...#|#####|#...#|#...#|#...#"},
      {U"B", "####.|#...#|#...#|####.|#...#|#...#|####."},
      {U"C", ".###.|#...#|#....|#....|#....|#...#|.###."},
      {U"D", "####.|#...#|#...#|#...#|#...#|#...#|####."},
      {U"E", "#####|#....|#....|####.|#....|#....|#####"},
      {U"I", ".###.|..#..|..#..|..#..|..#..|..#..|.###."},
      {U"K", "#...#|#..#.|#.#..|##...|#.#..|#..#.|#...#"},
      {U"L", "#....|#....|#....|#....|#....|#....|#####"},
      {U"R", "####.|#...#|#...#|####.|#.#..|#..#.|#...#"},
      {U"S", ".###.|#...#|#....|.###.|....#|#...#|.###."},
      {U"T", "#####|..#..|..#..|..#..|..#..|..#..|..#.."},
      {U"U", "#...#|#...#|#...#|#...#|#...#|#...#|.###."},
      {U"a", ".....|.....|.###.|....#|.####|#...#|.####"},
      {U"b", "#....|#....|#.##.|##..#|#...#|#...#|####."},
      {U"c", ".....|.....|.###.|#....|#....|#...#|.###."},
      {U"d", "....#|....#|.##.#|#..##|#...#|#...#|.####"},
      {U"e", ".....|.....|.###.|#...#|#####|#....|.###."},
      {U"f", "..##.|.#..#|.#...|###..|.#...|.#...|.#..."},
      {U"g", ".....|.....|.####|#...#|#...#|#...#|.####|....#|.###."},
      {U"h", "#....|#....|#.##.|##..#|#...#|#...#|#...#"},
      {U"i", "..#..|.....|.##..|..#..|..#..|..#..|.###."},
      {U"k", "#....|#....|#..#.|#.#..|##...|#.#..|#..#."},
      {U"l", ".##..|..#..|..#..|..#..|..#..|..#..|.###."},
      {U"m", ".....|.....|##.#.|#.#.#|#.#.#|#...#|#...#"},
      {U"n", ".....|.....|#.##.|##..#|#...#|#...#|#...#"},
      {U"o", ".....|.....|.###.|#...#|#...#|#...#|.###."},
      {U"p", ".....|.....|####.|#...#|#...#|#...#|####.|#....|#...."},
      {U"r", ".....|.....|#.##.|##..#|#....|#....|#...."},
      {U"s", ".....|.....|.###.|#....|.###.|....#|####."},
      {U"t", ".#...|.#...|###..|.#...|.#...|.#..#|..##."},
      {U"u", ".....|.....|#...#|#...#|#...#|#..##|.##.#"},
      {U"w", ".....|.....|#...#|#...#|#.#.#|#.#.#|.#.#."},
      {U"ä", ".#.#.|.....|.###.|....#|.####|#...#|.####"},
      {U"ü", ".#.#.|.....|#...#|#...#|#...#|#..##|.##.#"},
      {U"ß", ".###.|#...#|#..#.|#.#..|#..#.|#...#|#.##."},
      {U"0", ".###.|#...#|#..##|#.#.#|##..#|#...#|.###."},
      {U"1", "..#..|.##..|..#..|..#..|..#..|..#..|.###."},
      {U"2", ".###.|#...#|....#|...#.|..#..|.#...|#####"},
      {U":", ".....|.##..|.##..|.....|.##..|.##..|....."},
      {U";", ".....|.##..|.##..|.....|.##..|.##..|..#..|.#..."},
      {U".", ".....|.....|.....|.....|.....|.##..|.##.."},
      {U"(", "...#.|..#..|.#...|.#...|.#...|..#..|...#."},
      {U")", ".#...|..#..|...#.|...#.|...#.|..#..|.#..."},
      {U"/", "....#|...#.|...#.|..#..|.#...|.#...|#...."},
      {U"+", ".....|..#..|..#..|#####|..#..|..#..|....."},
      {U"-", ".....|.....|.....|#####|.....|.....|....."},
  };
  return table;
}

std::u32string decodeUtf8(const std::string& text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t code = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (int k = 1; k < length && i + k < text.size(); ++k) {
      code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
    out.push_back(code);
    i += static_cast<std::size_t>(length);
  }
  return out;
}

enum class Direction { Up, Down, Left, Right };

class Canvas {
 public:
  Canvas() : pixels_(static_cast<std::size_t>(Width) * Height, Back) {}

  void set(int x, int y, Ink ink) {
    if (x >= 0 && x < Width && y >= 0 && y < Height) {
      pixels_[static_cast<std::size_t>(y) * Width + static_cast<std::size_t>(x)] = ink;
    }
  }

  void fillRect(int x1, int y1, int x2, int y2, Ink ink) {
    for (int y = std::min(y1, y2); y <= std::max(y1, y2); ++y) {
      for (int x = std::min(x1, x2); x <= std::max(x1, x2); ++x) set(x, y, ink);
    }
  }

  void disc(double cx, double cy, double r, Ink ink) {
    for (int y = static_cast<int>(cy - r) - 1; y <= static_cast<int>(cy + r) + 1; ++y) {
      for (int x = static_cast<int>(cx - r) - 1; x <= static_cast<int>(cx + r) + 1; ++x) {
        if (std::hypot(x - cx, y - cy) <= r) set(x, y, ink);
      }
    }
  }

  // A line of the given width with round ends.
  void line(double x1, double y1, double x2, double y2, double width, Ink ink) {
    const double length = std::hypot(x2 - x1, y2 - y1);
    const int steps = std::max(1, static_cast<int>(length * 2));
    for (int i = 0; i <= steps; ++i) {
      const double f = static_cast<double>(i) / steps;
      disc(x1 + f * (x2 - x1), y1 + f * (y2 - y1), width / 2, ink);
    }
  }

  void ring(double cx, double cy, double r, double width, Ink ink, Ink inside) {
    disc(cx, cy, r + width / 2, ink);
    disc(cx, cy, r - width / 2, inside);
  }

  void box(int x1, int y1, int x2, int y2, int width, Ink ink) {
    fillRect(x1, y1, x2, y2, Back);
    fillRect(x1, y1, x2, y1 + width - 1, ink);
    fillRect(x1, y2 - width + 1, x2, y2, ink);
    fillRect(x1, y1, x1 + width - 1, y2, ink);
    fillRect(x2 - width + 1, y1, x2, y2, ink);
  }

  void triangle(double ax, double ay, double bx, double by, double cx, double cy, Ink ink) {
    const auto side = [](double px, double py, double qx, double qy, double x, double y) {
      return (qx - px) * (y - py) - (qy - py) * (x - px);
    };
    for (int y = static_cast<int>(std::min({ay, by, cy})); y <= std::max({ay, by, cy}); ++y) {
      for (int x = static_cast<int>(std::min({ax, bx, cx})); x <= std::max({ax, bx, cx}); ++x) {
        const double d1 = side(ax, ay, bx, by, x, y);
        const double d2 = side(bx, by, cx, cy, x, y);
        const double d3 = side(cx, cy, ax, ay, x, y);
        const bool negative = d1 < 0 || d2 < 0 || d3 < 0;
        const bool positive = d1 > 0 || d2 > 0 || d3 > 0;
        if (!(negative && positive)) set(x, y, ink);
      }
    }
  }

  // An arrow head centred on (x, y), pointing the way the current flows.
  void arrow(double x, double y, Direction direction) {
    constexpr double half = 16;  // half the length along the wire
    constexpr double wing = 14;  // half the width across it
    switch (direction) {
      case Direction::Right:
        triangle(x + half, y, x - half, y - wing, x - half, y + wing, Yellow);
        break;
      case Direction::Left:
        triangle(x - half, y, x + half, y - wing, x + half, y + wing, Yellow);
        break;
      case Direction::Down:
        triangle(x, y + half, x - wing, y - half, x + wing, y - half, Yellow);
        break;
      case Direction::Up:
        triangle(x, y - half, x - wing, y + half, x + wing, y + half, Yellow);
        break;
    }
  }

  // Text from its top-left corner, each glyph cell scale pixels a dot; returns the end x.
  int text(int x, int y, const std::string& utf8, int scale, Ink ink) {
    for (char32_t code : decodeUtf8(utf8)) {
      const auto found = glyphs().find(std::u32string(1, code));
      if (found == glyphs().end()) {
        std::fprintf(stderr, "draw_pictures: no glyph for U+%04X\n", static_cast<unsigned>(code));
        missingGlyph_ = true;
        continue;
      }
      int row = 0;
      int column = 0;
      for (char dot : found->second) {
        if (dot == '|') {
          ++row;
          column = 0;
          continue;
        }
        if (dot == '#') {
          fillRect(x + column * scale, y + row * scale, x + (column + 1) * scale - 1,
                   y + (row + 1) * scale - 1, ink);
        }
        ++column;
      }
      x += 6 * scale;
    }
    return x;
  }

  bool write(const std::string& path) const {
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
    if (gif == nullptr) return false;
    ColorMapObject* map = GifMakeMapObject(Count, Palette.data());
    bool ok = map != nullptr && EGifPutScreenDesc(gif, Width, Height, 8, Back, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, Width, Height, false, nullptr) == GIF_OK;
    std::vector<GifPixelType> row(Width);
    for (int y = 0; ok && y < Height; ++y) {
      std::copy_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * Width, Width, row.begin());
      ok = EGifPutLine(gif, row.data(), Width) == GIF_OK;
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(map);
    return ok;
  }

  bool missingGlyph() const { return missingGlyph_; }

 private:
  std::vector<std::uint8_t> pixels_;
  bool missingGlyph_ = false;
};

// The circuit as the programs draw it: battery left, switch in the top wire, R2 in the middle
// branch, the coil or capacitor above R in the right branch.
constexpr int LeftX = 200;
constexpr int MiddleX = 480;
constexpr int RightX = 760;
constexpr int TopY = 150;
constexpr int BottomY = 500;
constexpr int Wire = 6;

enum class Circuit { Coil, Capacitor };

struct Picture {
  std::string file;
  Circuit circuit;
  bool switchedOn;
  std::string title;
  std::string subtitle;
  std::string explanation;
};

Ink wireInk(bool carries) {
  return carries ? White : Dim;
}

void drawBattery(Canvas& c, bool carries) {
  const Ink ink = wireInk(carries);
  c.line(LeftX, TopY, LeftX, 330, Wire, ink);
  c.line(LeftX, 352, LeftX, BottomY, Wire, ink);
  c.fillRect(LeftX - 42, 327, LeftX + 42, 333, White);  // long plate: the positive pole
  c.fillRect(LeftX - 22, 346, LeftX + 22, 358, White);  // short plate: the negative pole
  c.text(LeftX + 52, 304, "+", 3, White);
  c.text(LeftX + 52, 346, "-", 3, White);
  const int end = c.text(LeftX - 110, 318, "U", 4, White);
  c.text(end, 334, "0", 3, White);
  c.text(LeftX - 180, 380, "Batterie", 2, White);
}

void drawResistor(Canvas& c, int x, int top, int bottom, const std::string& label) {
  c.box(x - 18, top, x + 18, bottom, Wire, White);
  c.text(x + 34, (top + bottom) / 2 - 14, label, 4, White);
}

void drawCoilCircuit(Canvas& c, bool on) {
  drawBattery(c, on);
  const int contactX = 300;
  const int pivotX = 400;
  c.line(LeftX, TopY, contactX, TopY, Wire, wireInk(on));
  c.line(pivotX, TopY, RightX, TopY, Wire, White);
  c.line(MiddleX, TopY, MiddleX, BottomY, Wire, White);
  c.line(RightX, TopY, RightX, BottomY, Wire, White);
  c.line(LeftX, BottomY, MiddleX, BottomY, Wire, wireInk(on));
  c.line(MiddleX, BottomY, RightX, BottomY, Wire, White);
  c.ring(contactX, TopY, 9, 5, White, Back);
  c.ring(pivotX, TopY, 9, 5, White, Back);
  if (on) {
    c.line(pivotX, TopY, contactX + 6, TopY - 4, 7, Magenta);
  } else {
    c.line(pivotX, TopY, contactX + 12, TopY - 46, 7, Magenta);
  }
  c.text(296, 176, "Schalter", 2, White);

  drawResistor(c, MiddleX, 290, 390, "R2");
  drawResistor(c, RightX, 370, 470, "R");
  c.fillRect(RightX - 16, 200, RightX + 16, 300, White);  // the coil, a filled bar
  c.fillRect(RightX - 30, 200, RightX - 25, 300, White);  // its iron core
  c.text(RightX + 34, 222, "L", 4, White);
  c.text(RightX + 34, 268, "Spule", 2, White);

  // conventional current: on, the battery drives it through L and R (and R2 beside them);
  // off, the coil drives it on round L, R and R2
  c.arrow(RightX, 335, Direction::Down);
  c.arrow(620, TopY, Direction::Right);
  c.arrow(620, BottomY, Direction::Left);
  c.text(RightX - 50, 322, "I", 3, Yellow);
  if (on) {
    c.arrow(LeftX, 230, Direction::Up);
    c.arrow(LeftX, 440, Direction::Up);
    c.arrow(250, TopY, Direction::Right);
    c.arrow(340, BottomY, Direction::Left);
    c.arrow(MiddleX, 235, Direction::Down);
  } else {
    c.arrow(MiddleX, 235, Direction::Up);
    c.arrow(MiddleX, 445, Direction::Up);
  }
}

void drawCapacitorCircuit(Canvas& c, bool on) {
  drawBattery(c, on);
  const int contact1X = 400;
  const int pivotX = 540;
  const int contact0Y = 215;
  c.line(LeftX, TopY, contact1X, TopY, Wire, wireInk(on));
  c.line(pivotX, TopY, RightX, TopY, Wire, White);
  c.line(MiddleX, contact0Y, MiddleX, BottomY, Wire, wireInk(!on));
  c.line(RightX, TopY, RightX, 240, Wire, White);
  c.line(RightX, 264, RightX, BottomY, Wire, White);
  c.line(LeftX, BottomY, MiddleX, BottomY, Wire, wireInk(on));
  c.line(MiddleX, BottomY, RightX, BottomY, Wire, White);
  c.ring(contact1X, TopY, 9, 5, White, Back);
  c.ring(pivotX, TopY, 9, 5, White, Back);
  c.ring(MiddleX, contact0Y, 9, 5, White, Back);
  if (on) {
    c.line(pivotX, TopY, contact1X + 8, TopY - 5, 7, Magenta);
  } else {
    c.line(pivotX, TopY, MiddleX + 7, contact0Y - 8, 7, Magenta);
  }
  c.text(contact1X - 8, TopY - 52, "1", 3, White);
  c.text(MiddleX - 44, contact0Y - 8, "0", 3, White);
  c.text(contact1X + 30, TopY - 44, "Schalter", 2, White);

  drawResistor(c, MiddleX, 290, 390, "R2");
  drawResistor(c, RightX, 370, 470, "R");
  c.fillRect(RightX - 40, 236, RightX + 40, 243, White);  // the two plates
  c.fillRect(RightX - 40, 261, RightX + 40, 268, White);
  c.text(RightX + 54, 222, "C", 4, White);
  c.text(RightX + 54, 268, "Kondensator", 2, White);

  c.text(RightX - 50, 308, "I", 3, Yellow);
  if (on) {
    // charging: the battery drives the current round C and R
    c.arrow(LeftX, 230, Direction::Up);
    c.arrow(LeftX, 440, Direction::Up);
    c.arrow(300, TopY, Direction::Right);
    c.arrow(660, TopY, Direction::Right);
    c.arrow(RightX, 320, Direction::Down);
    c.arrow(620, BottomY, Direction::Left);
    c.arrow(340, BottomY, Direction::Left);
  } else {
    // discharging: the capacitor drives it the other way round R2 and R
    c.arrow(RightX, 320, Direction::Up);
    c.arrow(660, TopY, Direction::Left);
    c.arrow(MiddleX, 254, Direction::Down);
    c.arrow(MiddleX, 440, Direction::Down);
    c.arrow(620, BottomY, Direction::Right);
  }
}

bool drawPicture(const Picture& picture, const std::string& folder) {
  Canvas c;
  // The continue prompt is written over the upper left corner: keep it free.
  c.text(250, 18, picture.title, 4, White);
  c.text(250, 68, picture.subtitle, 2, White);
  if (picture.circuit == Circuit::Coil) {
    drawCoilCircuit(c, picture.switchedOn);
  } else {
    drawCapacitorCircuit(c, picture.switchedOn);
  }
  c.arrow(40, 540, Direction::Right);
  c.text(70, 530, "Stromrichtung (technisch)", 2, White);
  c.text(40, 566, picture.explanation, 2, White);
  if (c.missingGlyph()) return false;
  const std::string path = folder + "/" + picture.file;
  if (!c.write(path)) {
    std::fprintf(stderr, "draw_pictures: cannot write %s\n", path.c_str());
    return false;
  }
  // giflib creates its files for the owner only; the pictures are read by every user
  std::error_code error;
  std::filesystem::permissions(
      path,
      std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
          std::filesystem::perms::group_read | std::filesystem::perms::others_read,
      error);
  return !error;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : ".";
  const std::vector<Picture> pictures = {
      {"einschemspule.gif", Circuit::Coil, true, "Spule: Einschalten",
       "Schalter geschlossen (Taste 1)", "Die Batterie treibt I durch R und L; I steigt bis Uo/R."},
      {"ausschemspule.gif", Circuit::Coil, false, "Spule: Ausschalten", "Schalter offen (Taste 0)",
       "Die Spule treibt I weiter durch R und R2; I nimmt ab."},
      {"einschemkond.gif", Circuit::Capacitor, true, "Kondensator: Einschalten",
       "Schalter in Stellung 1 (Taste 1)", "Die Batterie lädt C über R auf; I nimmt ab."},
      {"ausschemkond.gif", Circuit::Capacitor, false, "Kondensator: Ausschalten",
       "Schalter in Stellung 0 (Taste 0)", "C entlädt sich über R und R2; I fließt umgekehrt."},
  };
  bool ok = true;
  for (const auto& picture : pictures) ok = drawPicture(picture, folder) && ok;
  return ok ? 0 : 1;
}
