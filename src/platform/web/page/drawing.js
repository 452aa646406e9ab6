// Drawing on the output window: lines, boxes and circles in the pen's colour and width, clipped
// to the window's clip rectangle; undefined or huge coordinates never become pixels. Each call is
// recorded (windows.js) and painted in device pixels at the window's scale k.
import { isHighContrast } from './access.js';
import { record } from './record.js';
import { GuardLimit, clamped, clippedBox, current, devicePixel } from './windows.js';

// A new window's pen: the colours, the line width and the clip rectangle its drawing takes.
export function newPen() {
  return { fore: 'rgb(0,0,0)', back: 'rgb(255,255,255)', lineWidth: 1, clip: null };
}

export function finite() {
  for (var i = 0; i < arguments.length; ++i) if (!isFinite(arguments[i])) return false;
  return true;
}

// The rectangle between two corners, both corners' pixels included; null for NaN.
export function cornerRect(x1, y1, x2, y2) {
  if (!finite(x1, y1, x2, y2)) return null;
  x1 = Math.round(clamped(x1, -GuardLimit, GuardLimit));
  y1 = Math.round(clamped(y1, -GuardLimit, GuardLimit));
  x2 = Math.round(clamped(x2, -GuardLimit, GuardLimit));
  y2 = Math.round(clamped(y2, -GuardLimit, GuardLimit));
  return {
    x: Math.min(x1, x2),
    y: Math.min(y1, y2),
    width: Math.abs(x2 - x1) + 1,
    height: Math.abs(y2 - y1) + 1,
  };
}

// The clip rectangle in device pixels, [left, top, right, bottom); the whole plane without one.
export const Unclipped = [-Infinity, -Infinity, Infinity, Infinity];

// Kept with the clip for its scale: every step draws its curves through the same two clips.
export function deviceClip(clip, k) {
  if (!clip) return Unclipped;
  if (clip.k !== k) {
    clip.k = k;
    clip.device = [
      devicePixel(clip.x, k),
      devicePixel(clip.y, k),
      devicePixel(clip.x + clip.width, k),
      devicePixel(clip.y + clip.height, k),
    ];
  }
  return clip.device;
}

// Text, circles and pictures are cut by the canvas; rectangles are cut here, which is cheaper.
export function withDeviceClip(context, clip, k, draw) {
  if (!clip) {
    draw();
    return;
  }
  var c = deviceClip(clip, k);
  context.save();
  context.beginPath();
  context.rect(c[0], c[1], c[2] - c[0], c[3] - c[1]);
  context.clip();
  draw();
  context.restore();
}

// Fills device pixels [x0, x1) x [y0, y1) inside the device clip c.
function fillCut(context, x0, y0, x1, y1, c) {
  x0 = Math.max(x0, c[0]);
  y0 = Math.max(y0, c[1]);
  x1 = Math.min(x1, c[2]);
  y1 = Math.min(y1, c[3]);
  if (x1 > x0 && y1 > y0) context.fillRect(x0, y0, x1 - x0, y1 - y0);
}

// A box of drawing pixels [box[0], box[2]) x [box[1], box[3]), already cut to its clip.
export function paintFill(context, op, k) {
  var b = op.box;
  context.fillStyle = op.fore;
  fillCut(
    context,
    devicePixel(b[0], k),
    devicePixel(b[1], k),
    devicePixel(b[2], k),
    devicePixel(b[3], k),
    Unclipped
  );
}

// Cuts a segment to a rectangle (Liang-Barsky) keeping its direction; null when outside.
function cutSegment(x1, y1, x2, y2, low, high) {
  var t0 = 0;
  var t1 = 1;
  var dx = x2 - x1;
  var dy = y2 - y1;
  var edges = [
    [-dx, x1 - low],
    [dx, high - x1],
    [-dy, y1 - low],
    [dy, high - y1],
  ];
  for (var i = 0; i < 4; ++i) {
    var p = edges[i][0];
    var q = edges[i][1];
    if (p === 0) {
      if (q < 0) return null;
    } else {
      var r = q / p;
      if (p < 0) {
        if (r > t1) return null;
        if (r > t0) t0 = r;
      } else {
        if (r < t0) return null;
        if (r < t1) t1 = r;
      }
    }
  }
  return [x1 + t0 * dx, y1 + t0 * dy, x1 + t1 * dx, y1 + t1 * dy];
}

// A line w drawing pixels wide: w device pixels scaled, but a one-pixel line stays one device
// pixel wide, through the device pixel under the centre of each drawing pixel.
function penWidth(w, k) {
  if (isHighContrast()) return Math.max(2, Math.round(w * k)); // thin lines fade on a projector
  return w === 1 ? 1 : Math.max(1, Math.round(w * k));
}

function centre(value, k) {
  return Math.floor((value + 0.5) * k);
}

export function clipKey(clip) {
  if (!clip) return '';
  if (!clip.key) clip.key = clip.x + ',' + clip.y + ',' + clip.width + ',' + clip.height;
  return clip.key;
}

// Lines are set pixel by pixel in device pixels, as the desktop's raster engine sets them, so
// that curves stay crisp and their pixels can be found where the arithmetic puts them. Pixels
// in a row (or column) of the line are filled as one rectangle.
function paintLine(context, op, k) {
  var w = penWidth(op.w, k);
  var shift = Math.floor((w - 1) / 2);
  var ax = centre(op.ax, k) - shift;
  var ay = centre(op.ay, k) - shift;
  var bx = centre(op.bx, k) - shift;
  var by = centre(op.by, k) - shift;
  var c = deviceClip(op.clip, k);
  context.fillStyle = op.fore;
  if (ax === bx || ay === by) {
    fillCut(
      context,
      Math.min(ax, bx),
      Math.min(ay, by),
      Math.max(ax, bx) + w,
      Math.max(ay, by) + w,
      c
    );
    return;
  }
  var dx = Math.abs(bx - ax);
  var dy = -Math.abs(by - ay);
  var stepX = ax < bx ? 1 : -1;
  var stepY = ay < by ? 1 : -1;
  var error = dx + dy;
  var rowWise = dx >= -dy;
  var runX = ax;
  var runY = ay;
  for (;;) {
    var atEnd = ax === bx && ay === by;
    var twice = 2 * error;
    var nextX = ax;
    var nextY = ay;
    if (!atEnd) {
      if (twice >= dy) {
        error += dy;
        nextX += stepX;
      }
      if (twice <= dx) {
        error += dx;
        nextY += stepY;
      }
    }
    // The run ends where the line leaves its row (or column), or at the line's end.
    if (atEnd || (rowWise ? nextY !== ay : nextX !== ax)) {
      fillCut(
        context,
        Math.min(runX, ax),
        Math.min(runY, ay),
        Math.max(runX, ax) + w,
        Math.max(runY, ay) + w,
        c
      );
      runX = nextX;
      runY = nextY;
    }
    if (atEnd) break;
    ax = nextX;
    ay = nextY;
  }
}

function lineOp(s, ax, ay, bx, by) {
  var pen = s.pen;
  var w = pen.lineWidth;
  var half = Math.floor((w - 1) / 2);
  return {
    paint: paintLine,
    ax: ax,
    ay: ay,
    bx: bx,
    by: by,
    w: w,
    fore: pen.fore,
    clip: pen.clip,
    box: clippedBox(
      Math.min(ax, bx) - half - 1,
      Math.min(ay, by) - half - 1,
      Math.max(ax, bx) - half + w + 1,
      Math.max(ay, by) - half + w + 1,
      pen.clip
    ),
    // Drawn again the same way it paints the same pixels in the same colour.
    key: [ax, ay, bx, by, w, pen.fore, clipKey(pen.clip)].join(' '),
  };
}

export function drawLine(x1, y1, x2, y2) {
  var s = current();
  if (!s || !isFinite(x1) || !isFinite(y1) || !isFinite(x2) || !isFinite(y2)) return;
  var low = -(s.pen.lineWidth + 2);
  var high = Math.max(s.width, s.height) - low;
  // Most lines lie in the window and need no cutting.
  if (Math.min(x1, y1, x2, y2) < low || Math.max(x1, y1, x2, y2) > high) {
    var cut = cutSegment(x1, y1, x2, y2, low, high);
    if (!cut) return;
    x1 = cut[0];
    y1 = cut[1];
    x2 = cut[2];
    y2 = cut[3];
  }
  record(s, lineOp(s, Math.round(x1), Math.round(y1), Math.round(x2), Math.round(y2)));
}

export function drawBox(x1, y1, x2, y2) {
  var s = current();
  var r = cornerRect(x1, y1, x2, y2);
  if (!s || !r) return;
  var right = r.x + r.width - 1;
  var bottom = r.y + r.height - 1;
  record(s, lineOp(s, r.x, r.y, right, r.y));
  record(s, lineOp(s, r.x, bottom, right, bottom));
  record(s, lineOp(s, r.x, r.y, r.x, bottom));
  record(s, lineOp(s, right, r.y, right, bottom));
}

export function fillBox(x1, y1, x2, y2) {
  var s = current();
  var r = cornerRect(x1, y1, x2, y2);
  if (!s || !r) return;
  var box = clippedBox(r.x, r.y, r.x + r.width, r.y + r.height, s.pen.clip);
  record(s, { paint: paintFill, box: box, cover: box, fore: s.pen.fore });
}

function paintCircle(context, op, k) {
  withDeviceClip(context, op.clip, k, function () {
    context.strokeStyle = op.fore;
    context.lineWidth = penWidth(op.w, k);
    context.beginPath();
    context.arc(centre(op.cx, k) + 0.5, centre(op.cy, k) + 0.5, op.radius * k, 0, 2 * Math.PI);
    context.stroke();
  });
}

export function drawCircle(cx, cy, radius) {
  var s = current();
  if (!s || !finite(cx, cy, radius) || radius < 0) return;
  cx = Math.round(clamped(cx, -GuardLimit, GuardLimit));
  cy = Math.round(clamped(cy, -GuardLimit, GuardLimit));
  radius = Math.round(Math.min(radius, GuardLimit));
  var pen = s.pen;
  var reach = radius + pen.lineWidth + 2;
  record(s, {
    paint: paintCircle,
    cx: cx,
    cy: cy,
    radius: radius,
    w: pen.lineWidth,
    fore: pen.fore,
    clip: pen.clip,
    box: clippedBox(cx - reach, cy - reach, cx + reach, cy + reach, pen.clip),
  });
}

export function setClip(x1, y1, x2, y2) {
  var s = current();
  if (!s) return;
  // A clip with an undefined corner lets nothing through rather than everything.
  s.pen.clip = cornerRect(x1, y1, x2, y2) || { x: 0, y: 0, width: 0, height: 0 };
}

export function clearClip() {
  var s = current();
  if (s) s.pen.clip = null;
}

// The pen of the output window: the colour of lines and text (back: of the text's background).
export function setColour(back, css) {
  var s = current();
  if (!s) return;
  if (back) s.pen.back = css;
  else s.pen.fore = css;
}

export function setLineWidth(width) {
  var s = current();
  if (s) s.pen.lineWidth = width;
}
