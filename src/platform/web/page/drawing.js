// Drawing on the output window: lines, boxes and circles in the pen's colour and width, clipped
// to the window's clip rectangle; undefined or huge coordinates never become pixels.

function current() {
  return surfaces[output] || null;
}

function withClip(surface, clip, draw) {
  var context = surface.context;
  context.save();
  if (clip) {
    context.beginPath();
    context.rect(clip.x, clip.y, clip.width, clip.height);
    context.clip();
  }
  draw(context);
  context.restore();
}

function finite() {
  for (var i = 0; i < arguments.length; ++i) if (!isFinite(arguments[i])) return false;
  return true;
}

// The rectangle between two corners, both corners' pixels included; null for NaN.
function cornerRect(x1, y1, x2, y2) {
  if (!finite(x1, y1, x2, y2)) return null;
  x1 = Math.round(clamped(x1, -GuardLimit, GuardLimit));
  y1 = Math.round(clamped(y1, -GuardLimit, GuardLimit));
  x2 = Math.round(clamped(x2, -GuardLimit, GuardLimit));
  y2 = Math.round(clamped(y2, -GuardLimit, GuardLimit));
  return {
    x: Math.min(x1, x2), y: Math.min(y1, y2),
    width: Math.abs(x2 - x1) + 1, height: Math.abs(y2 - y1) + 1
  };
}

// Cuts a segment to a rectangle (Liang-Barsky) keeping its direction; null when outside.
function cutSegment(x1, y1, x2, y2, low, high) {
  var t0 = 0, t1 = 1, dx = x2 - x1, dy = y2 - y1;
  var edges = [[-dx, x1 - low], [dx, high - x1], [-dy, y1 - low], [dy, high - y1]];
  for (var i = 0; i < 4; ++i) {
    var p = edges[i][0], q = edges[i][1];
    if (p === 0) {
      if (q < 0) return null;
    } else {
      var r = q / p;
      if (p < 0) { if (r > t1) return null; if (r > t0) t0 = r; }
      else { if (r < t0) return null; if (r < t1) t1 = r; }
    }
  }
  return [x1 + t0 * dx, y1 + t0 * dy, x1 + t1 * dx, y1 + t1 * dy];
}

// Lines are set pixel by pixel, as the desktop's raster engine does, so that curves stay
// crisp and their pixels can be found where the arithmetic puts them.
function drawLine(x1, y1, x2, y2) {
  var s = current();
  if (!s || !finite(x1, y1, x2, y2)) return;
  var margin = s.lineWidth + 2;
  var cut = cutSegment(x1, y1, x2, y2, -margin,
                       Math.max(s.width, s.height) + margin);
  if (!cut) return;
  var ax = Math.round(cut[0]), ay = Math.round(cut[1]);
  var bx = Math.round(cut[2]), by = Math.round(cut[3]);
  var w = s.lineWidth, half = Math.floor((w - 1) / 2);
  withClip(s, s.clip, function (context) {
    context.fillStyle = s.fore;
    if (ax === bx || ay === by) {
      context.fillRect(Math.min(ax, bx) - half, Math.min(ay, by) - half,
                       Math.abs(bx - ax) + w, Math.abs(by - ay) + w);
      return;
    }
    var dx = Math.abs(bx - ax), dy = -Math.abs(by - ay);
    var stepX = ax < bx ? 1 : -1, stepY = ay < by ? 1 : -1;
    var error = dx + dy;
    for (;;) {
      context.fillRect(ax - half, ay - half, w, w);
      if (ax === bx && ay === by) break;
      var twice = 2 * error;
      if (twice >= dy) { error += dy; ax += stepX; }
      if (twice <= dx) { error += dx; ay += stepY; }
    }
  });
}

function drawBox(x1, y1, x2, y2) {
  var s = current();
  var r = cornerRect(x1, y1, x2, y2);
  if (!s || !r) return;
  var w = s.lineWidth, half = Math.floor((w - 1) / 2);
  withClip(s, s.clip, function (context) {
    context.fillStyle = s.fore;
    var left = r.x - half, top = r.y - half;
    var right = r.x + r.width - 1 - half, bottom = r.y + r.height - 1 - half;
    context.fillRect(left, top, right - left + w, w);
    context.fillRect(left, bottom, right - left + w, w);
    context.fillRect(left, top, w, bottom - top + w);
    context.fillRect(right, top, w, bottom - top + w);
  });
}

function fillBox(x1, y1, x2, y2) {
  var s = current();
  var r = cornerRect(x1, y1, x2, y2);
  if (!s || !r) return;
  withClip(s, s.clip, function (context) {
    context.fillStyle = s.fore;
    context.fillRect(r.x, r.y, r.width, r.height);
  });
}

function drawCircle(cx, cy, radius) {
  var s = current();
  if (!s || !finite(cx, cy, radius) || radius < 0) return;
  cx = Math.round(clamped(cx, -GuardLimit, GuardLimit));
  cy = Math.round(clamped(cy, -GuardLimit, GuardLimit));
  radius = Math.round(Math.min(radius, GuardLimit));
  withClip(s, s.clip, function (context) {
    context.strokeStyle = s.fore;
    context.lineWidth = s.lineWidth;
    context.beginPath();
    context.arc(cx + 0.5, cy + 0.5, radius, 0, 2 * Math.PI);
    context.stroke();
  });
}

function setClip(x1, y1, x2, y2) {
  var s = current();
  if (!s) return;
  // A clip with an undefined corner lets nothing through rather than everything.
  s.clip = cornerRect(x1, y1, x2, y2) || { x: 0, y: 0, width: 0, height: 0 };
}

Object.assign(exported, {
  set: function (name, value) { var s = current(); if (s) s[name] = value; }, drawLine: drawLine,
  drawBox: drawBox, fillBox: fillBox, drawCircle: drawCircle, setClip: setClip, clearClip:
  function () { var s = current(); if (s) s.clip = null; }
});
