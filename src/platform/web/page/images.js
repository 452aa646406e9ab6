// Captured screen bands put back pixel for pixel, and the program's circuit pictures, decoded from
// the page's assets once the title screen is shown and painted stretched.
import { cornerRect, deviceClip, finite, withDeviceClip } from './drawing.js';
import { base64Bytes } from './start.js';
import { record } from './record.js';
import { GuardLimit, clamped, clippedBox, copyPixels, current, devicePixel } from './windows.js';

const images = {};
let nextImage = 1;
const pictures = {};
let picturesRequested = false;

export function requestPictures() {
  if (picturesRequested) return;
  picturesRequested = true;
  decodePicturesAfterFirstFrame();
}

// The pictures are first shown long after the title screen: they decode once its first frame
// is on the screen (a task queued from an animation frame runs after that frame).
function decodePicturesAfterFirstFrame() {
  requestAnimationFrame(function () {
    setTimeout(function () {
      Object.keys(LabAssets.pictures).forEach(function (name) {
        pictureBlob(LabAssets.pictures[name])
          .then(createImageBitmap)
          .then(
            function (bitmap) {
              pictures[name] = bitmap;
            },
            function () {}
          );
      });
    }, 0);
  });
}

// The site's page loads its pictures as files of their own; the page for a stick carries them.
function pictureBlob(picture) {
  if (typeof picture === 'string') {
    return Promise.resolve(new Blob([base64Bytes(picture)], { type: 'image/gif' }));
  }
  return fetch(picture.url).then(function (response) {
    if (!response.ok) throw new Error(picture.url + ': ' + response.status);
    return response.blob();
  });
}

// A captured band keeps the ops that painted it, so that it can be painted again at another
// scale, and its pixels while the scale is the one it was captured at.
export function captureImage(x1, y1, x2, y2) {
  var s = current();
  var r = cornerRect(x1, y1, x2, y2);
  var id = nextImage++;
  images[id] = null;
  if (!r) return id;
  var image = {
    x: r.x,
    y: r.y,
    width: r.width,
    height: r.height,
    ops: [],
    opaque: false,
    k: 0,
    canvas: null,
  };
  if (s) {
    image.ops = s.ops.filter(function (op) {
      if (!op) return false;
      var b = op.box;
      return b[0] < r.x + r.width && b[2] > r.x && b[1] < r.y + r.height && b[3] > r.y;
    });
    image.opaque = r.x >= 0 && r.y >= 0 && r.x + r.width <= s.width && r.y + r.height <= s.height;
    // Parts outside the window stay transparent, so putting the capture back paints only pixels.
    var k = s.k;
    var canvas = document.createElement('canvas');
    canvas.width = Math.max(1, devicePixel(r.x + r.width, k) - devicePixel(r.x, k));
    canvas.height = Math.max(1, devicePixel(r.y + r.height, k) - devicePixel(r.y, k));
    copyPixels(s, canvas.getContext('2d'), devicePixel(r.x, k), devicePixel(r.y, k));
    image.canvas = canvas;
    image.k = k;
  }
  images[id] = image;
  return id;
}

// At the scale it was captured at, a band is copied whole pixels at a time; at another, its ops
// are painted again, cut to the band (its pixels are then let go: they will not be shown again).
function paintBand(context, op, k) {
  var image = op.image;
  var x = devicePixel(op.x, k);
  var y = devicePixel(op.y, k);
  var c = deviceClip(op.clip, k);
  var x0 = Math.max(x, c[0]);
  var y0 = Math.max(y, c[1]);
  var x1 = Math.min(x + devicePixel(image.x + image.width, k) - devicePixel(image.x, k), c[2]);
  var y1 = Math.min(y + devicePixel(image.y + image.height, k) - devicePixel(image.y, k), c[3]);
  if (x1 <= x0 || y1 <= y0) return;
  if (image.k === k) {
    context.drawImage(image.canvas, x0 - x, y0 - y, x1 - x0, y1 - y0, x0, y0, x1 - x0, y1 - y0);
    return;
  }
  image.canvas = null;
  image.k = 0;
  context.save();
  context.beginPath();
  context.rect(x0, y0, x1 - x0, y1 - y0);
  context.clip();
  context.translate(x - devicePixel(image.x, k), y - devicePixel(image.y, k));
  for (var i = 0; i < image.ops.length; ++i) image.ops[i].paint(context, image.ops[i], k);
  context.restore();
}

export function putImage(id, x, y) {
  var s = current();
  var image = images[id];
  if (!s || !image || !finite(x, y)) return;
  x = Math.round(clamped(x, -GuardLimit, GuardLimit));
  y = Math.round(clamped(y, -GuardLimit, GuardLimit));
  if (!image.ops) {
    putPictureStretched(id, x, y, image.width, image.height);
    return;
  }
  var clip = s.pen.clip;
  var box = clippedBox(x, y, x + image.width, y + image.height, clip);
  // Put back where it was taken, an opaque band covers exactly what it covered then.
  var inPlace = image.opaque && x === image.x && y === image.y;
  record(s, {
    paint: paintBand,
    image: image,
    x: x,
    y: y,
    clip: clip,
    box: box,
    cover: inPlace ? box : null,
  });
}

export function freeImage(id) {
  delete images[id];
}

export function loadPicture(name) {
  var picture = pictures[name];
  if (!picture) return 0;
  var id = nextImage++;
  images[id] = picture;
  return id;
}

function paintPicture(context, op, k) {
  withDeviceClip(context, op.clip, k, function () {
    context.imageSmoothingEnabled = true;
    context.drawImage(op.picture, op.x * k, op.y * k, op.width * k, op.height * k);
  });
}

export function putPictureStretched(id, x, y, width, height) {
  var s = current();
  var picture = images[id];
  if (!s || !picture || !finite(x, y, width, height) || width <= 0 || height <= 0) return;
  x = clamped(x, -GuardLimit, GuardLimit);
  y = clamped(y, -GuardLimit, GuardLimit);
  width = Math.min(width, GuardLimit);
  height = Math.min(height, GuardLimit);
  var clip = s.pen.clip;
  record(s, {
    paint: paintPicture,
    picture: picture,
    x: x,
    y: y,
    width: width,
    height: height,
    clip: clip,
    box: clippedBox(
      Math.floor(x) - 1,
      Math.floor(y) - 1,
      Math.ceil(x + width) + 1,
      Math.ceil(y + height) + 1,
      clip
    ),
  });
}
