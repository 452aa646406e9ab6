// Captured screen bands put back pixel for pixel, and the program's circuit pictures, decoded from
// the page's assets once the title screen is shown and painted stretched.
var images = {};
var nextImage = 1;
var pictures = {};
var picturesRequested = false;

function requestPictures() {
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
        var blob = new Blob([base64Bytes(LabAssets.pictures[name])], { type: 'image/gif' });
        createImageBitmap(blob).then(function (bitmap) {
          pictures[name] = bitmap;
        }, function () {});
      });
    }, 0);
  });
}

function captureImage(x1, y1, x2, y2) {
  var s = current();
  var r = cornerRect(x1, y1, x2, y2);
  var canvas = document.createElement('canvas');
  canvas.width = r ? Math.round(r.width * ratio) : 1;
  canvas.height = r ? Math.round(r.height * ratio) : 1;
  // Parts outside the window stay transparent, so putting the capture back paints only pixels.
  if (s && r) {
    canvas.getContext('2d').drawImage(s.canvas, r.x * ratio, r.y * ratio, canvas.width,
                                      canvas.height, 0, 0, canvas.width, canvas.height);
  }
  var id = nextImage++;
  images[id] = r ? canvas : null;
  return id;
}

function putImage(id, x, y) {
  var s = current();
  var image = images[id];
  if (!s || !image || !finite(x, y)) return;
  withClip(s, s.clip, function (context) {
    context.setTransform(1, 0, 0, 1, 0, 0);
    context.drawImage(image, Math.round(x * ratio), Math.round(y * ratio));
  });
}

function freeImage(id) {
  delete images[id];
}

function loadPicture(name) {
  var picture = pictures[name];
  if (!picture) return 0;
  var id = nextImage++;
  images[id] = picture;
  return id;
}

function putPictureStretched(id, x, y, width, height) {
  var s = current();
  var picture = images[id];
  if (!s || !picture || width <= 0 || height <= 0) return;
  withClip(s, s.clip, function (context) {
    context.imageSmoothingEnabled = true;
    context.drawImage(picture, clamped(x, -GuardLimit, GuardLimit),
                      clamped(y, -GuardLimit, GuardLimit), Math.min(width, GuardLimit),
                      Math.min(height, GuardLimit));
  });
}

Object.assign(exported, {
  captureImage: captureImage, putImage: putImage, freeImage: freeImage, loadPicture: loadPicture,
  putPictureStretched: putPictureStretched
});
