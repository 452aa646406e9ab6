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

function textWidth(text) {
  var s = current() || surfaces[0];
  if (!s) return 0;
  s.context.font = fontOf(s).css;
  return s.context.measureText(text).width;
}

function lineHeight() {
  var s = current() || surfaces[0];
  return s ? fontOf(s).lineHeight : 0;
}

function drawTextAt(s, x, y, text, width) {
  var font = fontOf(s);
  withClip(s, s.clip, function (context) {
    if (!s.transparent) {
      context.fillStyle = s.back;
      context.fillRect(x, y, width, font.height);
    }
    context.font = font.css;
    context.textBaseline = 'alphabetic';
    context.fillStyle = s.fore;
    context.fillText(text, x, y + font.ascent);
  });
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
