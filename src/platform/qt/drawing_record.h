// The retained drawing of a window: every drawing call kept in drawing coordinates, so that the
// window can be painted again at any scale in device pixels after a resize or on another screen.
// A call that covers earlier ones drops them, so the record stays as small as the picture.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLine>
#include <QRect>
#include <QString>

class QPainter;

namespace lab {

struct QtImage;

// k is device pixels per drawing pixel. Edges of boxes and clips go to the nearest device
// pixel; the points of lines and circles to the device pixel under the drawing pixel's centre.
int deviceEdge(double value, double k);
int deviceCentre(double value, double k);
QRect deviceRect(const QRect& drawingRect, double k);
// A one-pixel line stays one device pixel wide; wider lines grow with the scale.
int deviceLineWidth(int width, double k);

// 72 dots per inch make one point of a font one pixel of the image.
inline constexpr double ImageDpi = 72.0;

// A font at a whole pixel size, and the factor that scales it to the size asked for: Qt's font
// engine rounds fractional sizes.
struct ScaledFont {
  QFont font;
  double factor;
};
ScaledFont drawingFont(const std::string& name, double size);

struct DrawOp {
  enum class Kind { Fill, Line, Box, Circle, Text, Image, Picture };
  Kind kind = Kind::Fill;
  QRect box;                   // the drawing pixels it may touch, cut to its clip
  std::optional<QRect> cover;  // the pixels it paints opaquely, hiding what lay under them
  std::optional<QRect> clip;
  QColor fore;
  QColor back;
  int lineWidth = 1;
  QRect rect;    // Fill, Box (its outermost pixels), Picture
  QLine line;    // Line
  QPoint point;  // Circle: centre; Image: top-left corner
  int radius = 0;
  QPointF at;  // Text: top-left corner
  QString text;
  std::string fontName;
  double fontSize = 12.0;
  double width = 0.0;  // Text: advance at the drawing's scale
  bool transparent = false;
  QImage picture;                       // Picture
  std::shared_ptr<const QtImage> held;  // Image
};

using OpList = std::vector<std::shared_ptr<const DrawOp>>;

// What a captured band needs to be painted at a scale other than the one its pixels hold.
struct CapturedBand {
  QRect source;  // in drawing pixels of the window it was taken from
  double k = 1.0;
  bool opaque = false;  // lies wholly inside its window, so its pixels hide all under them
  OpList ops;
};

// Paints one call on a painter whose coordinates are device pixels at scale k.
void paintOp(QPainter& painter, const DrawOp& op, double k);

class DrawingRecord {
 public:
  // Forgets everything: the window is cleared wholly.
  void clear();
  // Adds a call, dropping the earlier calls it hides.
  void add(std::shared_ptr<const DrawOp> op);
  // The calls that touched a rectangle of the window, for a band captured there.
  OpList touching(const QRect& rect) const;
  void paint(QPainter& painter, double k) const;
  std::size_t size() const { return ops_.size() - dead_; }

 private:
  void drop(std::size_t index);

  OpList ops_;  // dropped calls are empty places until the record is compacted
  std::unordered_map<std::uint64_t, std::size_t> lines_;  // a live line's place, by its look
  std::size_t dead_ = 0;
};

}  // namespace lab
