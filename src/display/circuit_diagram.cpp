// The circuit diagram of the right panel and the redrawing of its switch lever.
#include "display/circuit_diagram.h"

#include "display/colours.h"
#include "display/display_state.h"
#include "display/screen_layout.h"
#include "model/model_state.h"

namespace lab {

namespace {

struct Point {
  double x;
  double y;
};

// The grid points of the diagram in pixels; y sums are sums of scaled values, not scaled sums.
struct CircuitPoints {
  explicit CircuitPoints(const ScreenLayout& l)
      : X180(GridX(l, 180)),
        X185(GridX(l, 185)),
        X190(GridX(l, 190)),
        X195(GridX(l, 195)),
        X200(GridX(l, 200)),
        X230(GridX(l, 230)),
        X235(GridX(l, 235)),
        X240(GridX(l, 240)),
        X245(GridX(l, 245)),
        X250(GridX(l, 250)),
        X283(GridX(l, 283)),
        X290(GridX(l, 290)),
        X297(GridX(l, 297)),
        Y30(ScaleY(l, 30)),
        Y68(ScaleY(l, 68)),
        Y72(ScaleY(l, 72)),
        Y80(ScaleY(l, 80)),
        Y98(ScaleY(l, 98)),
        Y102(ScaleY(l, 102)),
        Y110(ScaleY(l, 110)),
        Y120(ScaleY(l, 120)),
        Y150(ScaleY(l, 150)),
        Y170(ScaleY(l, 170)),
        Y32(Y30 + ScaleY(l, 2)),
        Y45(Y30 + ScaleY(l, 15)),
        Y43(Y45 - ScaleY(l, 2)),
        radius(2 * l.XFactor),
        coilContact{static_cast<double>(X230 - ScaleX(l, 20)), static_cast<double>(Y30)},
        coilPivot{static_cast<double>(X250 - ScaleX(l, 16)), static_cast<double>(Y30)},
        coilLeverOff{coilContact.x, static_cast<double>(Y30 - ScaleY(l, 10))},
        coilLeverOn{coilContact.x, static_cast<double>(Y30 - ScaleY(l, 2))},
        coilTop(Y30 + ScaleY(l, 20)),
        coilBottom(coilTop + Y120 - Y80),
        coilInset(ScaleX(l, 2)),
        labelOneY(Y30 - ScaleY(l, 20)),
        labelZeroY(Y30 + ScaleY(l, 5)) {}

  int X180, X185, X190, X195, X200, X230, X235, X240, X245, X250, X283, X290, X297;
  int Y30, Y68, Y72, Y80, Y98, Y102, Y110, Y120, Y150, Y170, Y32, Y45, Y43;
  double radius;
  Point coilContact;  // A
  Point coilPivot;    // P
  Point coilLeverOff;
  Point coilLeverOn;
  int coilTop, coilBottom, coilInset;
  int labelOneY, labelZeroY;
};

void line(Platform& p, Point a, Point b) {
  p.draw_line(a.x, a.y, b.x, b.y);
}

void drawCoilCircuit(Platform& p, const CircuitPoints& c) {
  p.draw_line(c.X190, c.Y30, c.coilContact.x, c.Y30);
  p.draw_circle(c.coilContact.x, c.coilContact.y, c.radius);
  p.draw_circle(c.coilPivot.x, c.coilPivot.y, c.radius);
  line(p, c.coilPivot, c.coilLeverOff);
  p.draw_line(c.coilPivot.x, c.coilPivot.y, c.X290, c.Y30);
  p.draw_line(c.X290, c.Y30, c.X290, c.Y68);
  p.draw_line(c.X290, c.Y72, c.X290, c.Y110);
  p.draw_line(c.X290, c.Y150, c.X290, c.Y170);
  p.draw_line(c.X290, c.Y170, c.X190, c.Y170);
  p.draw_line(c.X190, c.Y170, c.X190, c.Y102);
  p.draw_line(c.X190, c.Y98, c.X190, c.Y30);
  p.draw_line(c.X240, c.Y170, c.X240, c.Y120);
  p.draw_line(c.X240, c.Y80, c.X240, c.Y30);
  p.draw_line(c.X180, c.Y98, c.X200, c.Y98);
  p.draw_line(c.X185, c.Y102, c.X195, c.Y102);
  p.draw_box(c.X283, c.Y110, c.X297, c.Y150);
  p.draw_box(c.X235, c.Y80, c.X245, c.Y120);
  p.fill_box(c.X283 + c.coilInset, c.coilTop, c.X297 - c.coilInset, c.coilBottom);
  p.draw_line(c.X283, c.coilTop, c.X283, c.coilBottom);
}

void drawCapacitorCircuit(Platform& p, const CircuitPoints& c) {
  p.draw_line(c.X190, c.Y30, c.X230, c.Y30);
  p.draw_circle(c.X230, c.Y30, c.radius);
  p.draw_circle(c.X250, c.Y30, c.radius);
  p.draw_circle(c.X240, c.Y45, c.radius);
  p.draw_line(c.X250, c.Y30, c.X290, c.Y30);
  p.draw_line(c.X290, c.Y30, c.X290, c.Y68);
  p.draw_line(c.X290, c.Y72, c.X290, c.Y110);
  p.draw_line(c.X290, c.Y150, c.X290, c.Y170);
  p.draw_line(c.X290, c.Y170, c.X190, c.Y170);
  p.draw_line(c.X190, c.Y170, c.X190, c.Y102);
  p.draw_line(c.X190, c.Y98, c.X190, c.Y30);
  p.draw_line(c.X240, c.Y170, c.X240, c.Y120);
  p.draw_line(c.X283, c.Y68, c.X297, c.Y68);
  p.draw_line(c.X283, c.Y72, c.X297, c.Y72);
  p.draw_line(c.X240, c.Y80, c.X240, c.Y45);
  p.draw_line(c.X180, c.Y98, c.X200, c.Y98);
  p.draw_line(c.X185, c.Y102, c.X195, c.Y102);
  p.draw_box(c.X283, c.Y110, c.X297, c.Y150);
  p.draw_box(c.X235, c.Y80, c.X245, c.Y120);
  p.draw_line(c.X250, c.Y30, c.X240, c.Y43);
}

void drawLabels(Platform& p, CircuitVariant kind, const DisplayVariant& variant,
                const CircuitPoints& c) {
  // Half-pixel y positions are meant: the platform receives them unrounded.
  p.draw_text(c.X297 + 15, (c.Y110 + c.Y150) * 0.5, "R");
  p.draw_text(c.X200 + 5, c.Y98 - 5, "U ");
  p.draw_text(c.X200 + 25, c.Y98 + 5, "0 ");
  p.draw_text(c.X245 + 15, (c.Y80 + c.Y120) * 0.5, "R2");
  p.draw_text(c.X297 + 15, c.Y72 - 10, variant.storageLabel);
  switch (kind) {
    case CircuitVariant::Coil:
      p.draw_text(c.coilContact.x, c.labelOneY, "1");
      p.draw_text(c.coilContact.x, c.labelZeroY, "0");
      break;
    case CircuitVariant::Capacitor:
      p.draw_text(c.X230 - 15, c.Y30 - 30, "1");
      p.draw_text(c.X240 + 5, c.Y45 + 5, "0");
      break;
  }
}

// Erases the lever of one position in the panel colour and draws the other in magenta.
void moveLever(Platform& p, const ScreenLayout& layout, CircuitVariant kind, ModelState& model,
               bool toOn) {
  const CircuitPoints c(layout);
  switch (kind) {
    case CircuitVariant::Coil: {
      p.set_colour(ColourBlue);
      line(p, c.coilPivot, toOn ? c.coilLeverOff : c.coilLeverOn);
      p.set_colour(ColourMagenta);
      line(p, c.coilPivot, toOn ? c.coilLeverOn : c.coilLeverOff);
      break;
    }
    case CircuitVariant::Capacitor: {
      // The curve plotting of the same step lifts this restriction.
      p.set_clip(c.X230, c.Y30, c.X250, c.Y43);
      const Point pivot{static_cast<double>(c.X250), static_cast<double>(c.Y30)};
      const Point offEnd{static_cast<double>(c.X240), static_cast<double>(c.Y43)};
      const Point onStart{static_cast<double>(c.X230), static_cast<double>(c.Y32)};
      p.set_colour(ColourBlue);
      if (toOn) {
        line(p, pivot, offEnd);
      } else {
        line(p, onStart, pivot);
      }
      p.set_colour(ColourMagenta);
      if (toOn) {
        line(p, onStart, pivot);
      } else {
        line(p, pivot, offEnd);
      }
      break;
    }
  }
  model.SwitchState = toOn ? 2 : 1;
}

}  // namespace

void DrawCircuit(Platform& p, const ScreenLayout& l, CircuitVariant kind,
                 const DisplayVariant& variant) {
  p.set_output_window(0);
  p.set_line_style(LineStyle::Solid);
  p.set_line_width(1);

  p.set_colour(ColourBlue);
  p.fill_box(l.CircuitLeft, l.VoltagePanelTop, l.CircuitRight, l.CurrentPanelBottom);
  p.set_colour(ColourWhite);
  p.set_back_colour(ColourBlue);
  p.draw_box(l.CircuitLeft, l.VoltagePanelTop, l.CircuitRight, l.CurrentPanelBottom);

  const CircuitPoints c(l);
  p.set_line_style(LineStyle::Solid);
  p.set_line_width(3);

  switch (kind) {
    case CircuitVariant::Coil:
      drawCoilCircuit(p, c);
      break;
    case CircuitVariant::Capacitor:
      drawCapacitorCircuit(p, c);
      break;
  }
  drawLabels(p, kind, variant, c);
}

void SwitchTo1(Platform& platform, const ScreenLayout& layout, CircuitVariant kind,
               ModelState& model) {
  moveLever(platform, layout, kind, model, true);
}

void SwitchTo0(Platform& platform, const ScreenLayout& layout, CircuitVariant kind,
               ModelState& model) {
  moveLever(platform, layout, kind, model, false);
}

}  // namespace lab
