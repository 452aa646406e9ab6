// The canvases a window's drawing lies on: full-height columns side by side, each painted with
// the ops its part of the window shows. Firefox spends about 0.1 ms on the first change of a
// canvas after each frame, and on a canvas of a whole 1024 x 768 drawing area 0.45 ms more to copy
// its backing store; a key's segments, one above the other across the graph panels, change one
// narrow column.
const ColumnWidth = 128;

export function layColumns(s, width, height, ratio) {
  var count = Math.ceil(width / ColumnWidth);
  while (s.columns.length > count) s.columns.pop().canvas.remove();
  while (s.columns.length < count) {
    var canvas = document.createElement('canvas');
    s.host.appendChild(canvas);
    s.columns.push({
      canvas: canvas,
      // Desynchronized: in Chromium a step's few pixels reach the screen sooner.
      context: canvas.getContext('2d', { willReadFrequently: true, desynchronized: true }),
      x: 0,
    });
  }
  s.pixels = [width, height];
  s.host.style.width = width / ratio + 'px';
  s.host.style.height = height / ratio + 'px';
  for (var i = 0; i < count; ++i) {
    var column = s.columns[i];
    column.x = i * ColumnWidth;
    // Sizing a canvas clears it and resets its context: its offset and face are set again.
    column.canvas.width = Math.min(ColumnWidth, width - column.x);
    column.canvas.height = height;
    column.canvas.style.left = column.x / ratio + 'px';
    column.canvas.style.width = column.canvas.width / ratio + 'px';
    column.canvas.style.height = height / ratio + 'px';
    column.context.setTransform(1, 0, 0, 1, -column.x, 0);
    contextFonts.delete(column.context);
  }
}

// Paints an op on the columns its box reaches, widened for antialiased edges and glyphs that
// stand a little out of their box.
export function paint(s, op) {
  var k = s.k;
  var margin = 2 * k + 2;
  var first = Math.max(0, Math.floor((op.box[0] * k - margin) / ColumnWidth));
  var last = Math.min(s.columns.length - 1, Math.floor((op.box[2] * k + margin) / ColumnWidth));
  for (var i = first; i <= last; ++i) op.paint(s.columns[i].context, op, k);
}

// Copies the window's pixels from (x, y) on, in device pixels, into a context at its origin.
export function copyColumns(s, context, x, y) {
  for (var i = 0; i < s.columns.length; ++i) {
    context.drawImage(s.columns[i].canvas, s.columns[i].x - x, -y);
  }
}

// The face each canvas was last set to: setting it is costly, so it is set only when it changes.
const contextFonts = new WeakMap();

export function setContextFont(context, css) {
  if (contextFonts.get(context) === css) return;
  context.font = css;
  contextFonts.set(context, css);
}
