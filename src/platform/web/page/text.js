// Text on the output window in the embedded Liberation faces: measured with the fonts' own line
// spacing, drawn from its top-left corner, opaque or transparent; the text cursor of print_text.
var FontFaces = { times: 'LabSerif', mono: 'LabMono' };

function fontOf(s) {
  var size = isFinite(s.fontSize) ? clamped(s.fontSize, 0.1, 4000) : 12;
  var family = FontFaces[s.fontName] || 'LabSans';
  var m = LabAssets.fonts[family];
  return {
    css: size + 'px ' + family,
    family: family,
    size: size,
    ascent: size * m.ascent / m.unitsPerEm,
    height: size * (m.ascent + m.descent) / m.unitsPerEm,
    lineHeight: size * (m.ascent + m.descent + m.lineGap) / m.unitsPerEm
  };
}

// Widths are measured at the drawing's size on a canvas of their own, whatever the scale.
var measuring = null;

function textWidth(text) {
  var s = current() || surfaces[0];
  if (!s) return 0;
  if (!measuring) measuring = { context: document.createElement('canvas').getContext('2d'), font: '' };
  var css = fontOf(s).css;
  if (measuring.font !== css) measuring.context.font = measuring.font = css;
  return measuring.context.measureText(text).width;
}

function lineHeight() {
  var s = current() || surfaces[0];
  return s ? fontOf(s).lineHeight : 0;
}

// The face at k times its size, set on the context only when it changes: setting it is costly.
function paintText(context, op, k) {
  var font = op.font;
  withDeviceClip(context, op.clip, k, function () {
    if (!op.transparent) {
      context.fillStyle = op.back;
      context.fillRect(op.x * k, op.y * k, op.width * k, font.height * k);
    }
    var css = font.size * k + 'px ' + font.family;
    if (context.labFont !== css) context.font = context.labFont = css;
    context.textBaseline = 'alphabetic';
    context.fillStyle = op.fore;
    context.fillText(op.text, op.x * k, (op.y + font.ascent) * k);
  });
}

function drawTextAt(s, x, y, text, width) {
  var font = fontOf(s);
  // Glyphs may reach a little beyond their box; the background covers only whole pixels inside.
  var reach = Math.ceil(font.size / 4) + 1;
  var op = {
    paint: paintText, x: x, y: y, text: text, width: width, font: font, fore: s.fore,
    back: s.back, transparent: s.transparent, clip: s.clip,
    anchor: s.transparent ? null : [x, y, font.css, s.back, clipKey(s.clip)].join(' '),
    box: clippedBox(Math.floor(x) - reach, Math.floor(y) - reach,
                    Math.ceil(x + width) + reach, Math.ceil(y + font.lineHeight) + reach, s.clip),
    cover: s.transparent ? null : clippedBox(Math.ceil(x) + 1, Math.ceil(y) + 1,
                                             Math.floor(x + width) - 1,
                                             Math.floor(y + font.height) - 1, s.clip)
  };
  // A readout written again and again into its field: an opaque text covers the background of
  // every text before it at the same place in the same face that is no wider.
  if (op.anchor) {
    for (var i = s.ops.length - 1; i >= 0; --i) {
      var before = s.ops[i];
      if (!before.dead && before.anchor === op.anchor && before.width <= width) drop(s, before);
    }
  }
  record(s, op);
}

function drawText(x, y, text) {
  var s = current();
  if (!s || !finite(x, y)) return;
  x = Math.round(clamped(x, -GuardLimit, GuardLimit));
  y = Math.round(clamped(y, -GuardLimit, GuardLimit));
  drawTextAt(s, x, y, text, textWidth(text));
  noteText(s, text, false);
}

function printText(text, lineEnd) {
  var s = current();
  if (!s) return;
  var width = textWidth(text);
  if (text.length > 0) drawTextAt(s, s.tx, s.ty, text, width);
  noteText(s, text, true);
  s.tx += width;
  if (lineEnd) {
    s.tx = 0;
    s.ty += fontOf(s).lineHeight;
  }
  // Keep the cursor in the guard range however many lines are printed.
  s.tx = clamped(s.tx, -GuardLimit, GuardLimit);
  s.ty = clamped(s.ty, -GuardLimit, GuardLimit);
}

Object.assign(exported, {
  drawText: drawText, printText: printText, textWidth: textWidth, lineHeight: lineHeight,
  setTextPosition: function (x, y) { var s = current(); if (s) { s.tx = x; s.ty = y; } }
});
