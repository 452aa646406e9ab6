// A window's record of its drawing, kept as small as the picture, and its painting.
import { paint } from './columns.js';

// The retained drawing, as small as the picture however long the lesson runs: an op that is
// painted over is dropped. An op that paints every pixel of its box opaquely (cover) drops the
// ops inside that box and cuts the boxes of those it covers along a whole side; an aliased opaque
// op drawn again the same way (its key) drops its earlier copy wherever it stands; an opaque text
// drops the texts before it at its place (its anchor) that are no wider; an op whose box its clip
// cut away is not kept. A dropped op leaves an empty place (null) until the record is compacted;
// an op never changes (a cut box makes a copy).
export function record(s, op) {
  if (everyOp && s === watched) everyOp.push(op);
  // An op cut away by its clip paints nothing.
  var box = op.box;
  if (box[0] >= box[2] || box[1] >= box[3]) return;
  if (op.key !== undefined) {
    var i = s.keyed.get(op.key);
    if (i !== undefined && s.ops[i] && s.ops[i].key === op.key) {
      drop(s, i);
      if (i < s.paintedEnd) s.redrawn.set(op, i);
    }
  }
  if (op.anchor !== undefined) dropAnchored(s, op);
  if (op.cover) cover(s, op.cover);
  if (s.dead > 256 && 2 * s.dead > s.ops.length) compact(s);
  note(s, op, s.ops.length);
  s.ops.push(op);
  s.pending.push(op);
  if (!unpainted.size) queueMicrotask(paintPending);
  unpainted.add(s);
}

// Ops are painted when the program's script hands back to the page, so that ops which only draw
// again what the screen shows are not painted at all: a key draws the switch lever again in
// the same place, two lines on top of each other, and a canvas's first change after a frame is
// costly in Firefox.
const unpainted = new Set();

function paintPending() {
  unpainted.forEach(flush);
  unpainted.clear();
}

// A key's few ops are looked at; a whole screen drawn again (hundreds, each checked against the
// others) is painted as it comes.
const FewOps = 32;

export function flush(s) {
  var pending = s.pending;
  if (!pending.length) return;
  var shownAlready = new Set();
  if (pending.length <= FewOps) {
    s.redrawn.forEach(function (at, op) {
      shownAlready.add(op);
    });
  }
  // An op is left unpainted only while each op its pixels meet is left unpainted as well.
  for (var changed = true; changed;) {
    changed = false;
    shownAlready.forEach(function (op) {
      if (!showsAlready(s, op, shownAlready)) changed = shownAlready.delete(op);
    });
  }
  s.pending = [];
  s.redrawn.clear();
  s.paintedEnd = s.ops.length;
  for (var i = 0; i < pending.length; ++i) if (!shownAlready.has(pending[i])) paint(s, pending[i]);
}

// Whether the screen shows an op redrawn exactly as before: no op painted after its earlier copy
// reaches its box, and the ops since that reach it are drawn again as well (shownAlready), in the
// same order. Boxes are widened by the edges antialiasing may add.
function showsAlready(s, op, shownAlready) {
  var at = s.redrawn.get(op);
  var b = [op.box[0] - 3, op.box[1] - 3, op.box[2] + 3, op.box[3] + 3];
  for (var j = at + 1; j < s.paintedEnd; ++j) if (s.ops[j] && meets(s.ops[j].box, b)) return false;
  var after = false;
  for (var i = 0; i < s.pending.length; ++i) {
    var other = s.pending[i];
    if (other === op) after = true;
    else if (
      meets(other.box, b) &&
      (!shownAlready.has(other) || s.redrawn.get(other) < at === after)
    ) {
      return false;
    }
  }
  return true;
}

function meets(a, b) {
  return a[0] < b[2] && a[2] > b[0] && a[1] < b[3] && a[3] > b[1];
}

function note(s, op, i) {
  if (op.key !== undefined) s.keyed.set(op.key, i);
  if (op.anchor === undefined) return;
  var places = s.anchored.get(op.anchor);
  if (places) places.push(i);
  else s.anchored.set(op.anchor, [i]);
}

function dropAnchored(s, op) {
  var places = s.anchored.get(op.anchor);
  if (!places) return;
  var kept = [];
  for (var j = 0; j < places.length; ++j) {
    var before = s.ops[places[j]];
    if (!before || before.anchor !== op.anchor) continue;
    if (before.width <= op.width) drop(s, places[j]);
    else kept.push(places[j]);
  }
  s.anchored.set(op.anchor, kept);
}

// The ops under a cover c: dropped when inside it, their boxes cut when it takes a whole side.
function cover(s, c) {
  for (var j = s.ops.length - 1; j >= 0; --j) {
    var op = s.ops[j];
    if (!op) continue;
    var b = op.box;
    if (b[0] >= c[2] || b[2] <= c[0] || b[1] >= c[3] || b[3] <= c[1]) continue;
    var across = c[0] <= b[0] && c[2] >= b[2];
    var down = c[1] <= b[1] && c[3] >= b[3];
    if (across && down) {
      drop(s, j);
      continue;
    }
    var cut = null;
    if (across && c[1] <= b[1]) cut = [b[0], c[3], b[2], b[3]];
    else if (across && c[3] >= b[3]) cut = [b[0], b[1], b[2], c[1]];
    else if (down && c[0] <= b[0]) cut = [c[2], b[1], b[2], b[3]];
    else if (down && c[2] >= b[2]) cut = [b[0], b[1], c[0], b[3]];
    if (cut) s.ops[j] = Object.assign({}, op, { box: cut });
  }
}

// Drops the op at place i of the window's record.
function drop(s, i) {
  s.ops[i] = null;
  ++s.dead;
}

function compact(s) {
  flush(s);
  if (s.dead > 0) {
    s.ops = s.ops.filter(function (op) {
      return op !== null;
    });
    s.dead = 0;
  }
  s.keyed.clear();
  s.anchored.clear();
  for (var i = 0; i < s.ops.length; ++i) note(s, s.ops[i], i);
}

// A window's record starts afresh when the window is cleared wholly.
export function restart(s) {
  s.pending = [];
  s.redrawn.clear();
  s.paintedEnd = 0;
  s.ops = [];
  s.dead = 0;
  s.keyed.clear();
  s.anchored.clear();
}

// After a resize or another pixel ratio every op is painted afresh, the pending ones with them.
export function repaint(s) {
  s.pending = [];
  s.redrawn.clear();
  compact(s);
  s.paintedEnd = s.ops.length;
  for (var i = 0; i < s.ops.length; ++i) paint(s, s.ops[i]);
}

// A test may have every op drawn on a window from now on kept as well (its record of the moment
// to begin with), to paint the picture again as it would stand without the dropping.
let everyOp = null;
let watched = null;

export function keepEveryOp(s) {
  watched = s;
  everyOp = s ? s.ops.filter(Boolean) : [];
}

export function everyOpKept() {
  return everyOp;
}
