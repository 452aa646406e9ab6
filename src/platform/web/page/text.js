// Text on the output window in the embedded Liberation faces: measured with the fonts' own line
// spacing, drawn from its top-left corner, opaque or transparent; the text cursor of print_text.
import { noteText } from './access.js';
import { setContextFont } from './columns.js';
import { clipKey, finite, withDeviceClip } from './drawing.js';
import { record } from './record.js';
import { GuardLimit, clamped, clippedBox, current, mainSurface } from './windows.js';

const FontFaces = { times: 'LabSerif', mono: 'LabMono' };

// A new window's text style: its face and size, whether text leaves the background showing, and
// the text cursor (x, y) where print_text goes on.
export function newTextStyle() {
  return { fontName: '', fontSize: 12, transparent: false, x: 0, y: 0 };
}

export function fontOf(s) {
  var size = isFinite(s.text.fontSize) ? clamped(s.text.fontSize, 0.1, 4000) : 12;
  var family = FontFaces[s.text.fontName] || 'LabSans';
  var m = LabAssets.fonts[family];
  return {
    css: size + 'px ' + family,
    family: family,
    size: size,
    ascent: (size * m.ascent) / m.unitsPerEm,
    height: (size * (m.ascent + m.descent)) / m.unitsPerEm,
    lineHeight: (size * (m.ascent + m.descent + m.lineGap)) / m.unitsPerEm,
  };
}

// Widths are measured at the drawing's size on a canvas of their own, whatever the scale.
let measuring = null;

export function textWidth(text) {
  var s = current() || mainSurface();
  if (!s) return 0;
  if (!measuring)
    measuring = { context: document.createElement('canvas').getContext('2d'), font: '' };
  var css = fontOf(s).css;
  if (measuring.font !== css) measuring.context.font = measuring.font = css;
  return measuring.context.measureText(text).width;
}

export function lineHeight() {
  var s = current() || mainSurface();
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
    setContextFont(context, css);
    context.textBaseline = 'alphabetic';
    context.fillStyle = op.fore;
    context.fillText(op.text, op.x * k, (op.y + font.ascent) * k);
  });
}

function drawTextAt(s, x, y, text, width) {
  var font = fontOf(s);
  var pen = s.pen;
  var transparent = s.text.transparent;
  // Glyphs may reach a little beyond their box; the background covers only whole pixels inside.
  var reach = Math.ceil(font.size / 4) + 1;
  var op = {
    paint: paintText,
    x: x,
    y: y,
    text: text,
    width: width,
    font: font,
    fore: pen.fore,
    back: pen.back,
    transparent: transparent,
    clip: pen.clip,
    // A readout written again and again into its field: an opaque text covers the background
    // of every text before it at the same place in the same face that is no wider.
    anchor: transparent ? undefined : [x, y, font.css, pen.back, clipKey(pen.clip)].join(' '),
    box: clippedBox(
      Math.floor(x) - reach,
      Math.floor(y) - reach,
      Math.ceil(x + width) + reach,
      Math.ceil(y + font.lineHeight) + reach,
      pen.clip
    ),
    cover: transparent
      ? null
      : clippedBox(
          Math.ceil(x) + 1,
          Math.ceil(y) + 1,
          Math.floor(x + width) - 1,
          Math.floor(y + font.height) - 1,
          pen.clip
        ),
  };
  record(s, op);
}

export function drawText(x, y, text) {
  var s = current();
  if (!s || !finite(x, y)) return;
  x = Math.round(clamped(x, -GuardLimit, GuardLimit));
  y = Math.round(clamped(y, -GuardLimit, GuardLimit));
  drawTextAt(s, x, y, text, textWidth(text));
  noteText(s, text, false);
}

export function printText(text, lineEnd) {
  var s = current();
  if (!s) return;
  var width = textWidth(text);
  var cursor = s.text;
  if (text.length > 0) drawTextAt(s, cursor.x, cursor.y, text, width);
  noteText(s, text, true);
  cursor.x += width;
  if (lineEnd) {
    cursor.x = 0;
    cursor.y += fontOf(s).lineHeight;
  }
  // Keep the cursor in the guard range however many lines are printed.
  cursor.x = clamped(cursor.x, -GuardLimit, GuardLimit);
  cursor.y = clamped(cursor.y, -GuardLimit, GuardLimit);
}

export function setTextPosition(x, y) {
  var s = current();
  if (!s) return;
  s.text.x = x;
  s.text.y = y;
}

// The text style of the output window: face, size, and whether text is drawn without background.
export function setFontName(name) {
  var s = current();
  if (s) s.text.fontName = name;
}

export function setFontSize(size) {
  var s = current();
  if (s) s.text.fontSize = size;
}

export function setTransparent(transparent) {
  var s = current();
  if (s) s.text.transparent = transparent;
}
