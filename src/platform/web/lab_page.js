// The page side of the browser platform: the retained canvases of the numbered windows, the menu
// bar, the message boxes, the line input, the key and pointer queues, the pictures, the print
// page and the page that stays when the program has ended. The C++ side calls it through
// lab_library.js; every DOM event that a wait may be waiting for wakes the suspended program.
// It stands in the page before the program's own script, so that its start-up work (fonts,
// compiling the WebAssembly) runs while that script is still being read.
var LabPage = (function () {
  'use strict';

  var FontFaces = { times: 'LabSerif', mono: 'LabMono' };
  var GuardLimit = 30000;

  var stage = null;        // the drawing area: canvas of window 0 and the frames of windows 2, 3
  var area = null;         // the part of the page under the menu bar that the stage fills
  var menubar = null;
  var surfaces = {};       // window number -> surface
  var output = 0;
  var display = null;      // drawing-area size at start-up, in drawing pixels
  var ratio = 1;           // device pixels per drawing pixel, fixed at start-up
  var mainOpen = false;
  var ended = false;
  var pendingWake = null;
  var keys = [];
  var choices = [];
  var mouse = { x: 0, y: 0, buttons: 0, pressedSinceRead: 0 };
  var touches = {};
  var boxes = [];
  var line = null;         // the line input now reading: {input, state}
  var menu = { titles: [], active: false, open: -1, current: -1, entry: -1, byKeyboard: false };
  var altAlone = false;
  var images = {};
  var nextImage = 1;
  var pictures = {};
  var picturesRequested = false;
  var fontsLoaded = null;
  var compiled = null;
  var job = null;

  // ------------------------------------------------------------------ waking the program

  function sleep(wakeUp) {
    pendingWake = wakeUp;
    if (!picturesRequested) {
      picturesRequested = true;
      decodePicturesAfterFirstFrame();
    }
  }

  function wake() {
    if (!pendingWake) return;
    var wakeUp = pendingWake;
    pendingWake = null;
    wakeUp();
  }

  // ------------------------------------------------------------------ start-up

  function base64Bytes(text) {
    if (Uint8Array.fromBase64) return Uint8Array.fromBase64(text);
    var binary = atob(text);
    var bytes = new Uint8Array(binary.length);
    for (var i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
    return bytes;
  }

  // The WebAssembly stands as base64 in an element of its own, so the script engine never scans
  // it; it compiles in the background while the fonts load and the program's script is read.
  function start() {
    buildPage();
    // In a promise, so that a browser without WebAssembly gets the failure page.
    compiled = Promise.resolve().then(function () {
      return WebAssembly.compile(base64Bytes(document.getElementById('lab-wasm').textContent));
    });
    compiled.catch(failToStart);
    fontsLoaded = Promise.all(Object.keys(LabAssets.fonts).map(function (family) {
      var face = new FontFace(family, base64Bytes(LabAssets.fonts[family].data));
      document.fonts.add(face);
      return face.load();
    }));
  }

  // A failed compile has shown the failure page already (start).
  function instantiateProgram(imports, receiveInstance) {
    compiled.then(function (module) {
      WebAssembly.instantiate(module, imports).then(function (instance) {
        receiveInstance(instance, module);
      }, failToStart);
    }, function () {});
  }

  // The fonts are ready before the program's first call measures or draws anything.
  function prepare(module) {
    module.addRunDependency('lab-page');
    fontsLoaded.then(function () {
      module.removeRunDependency('lab-page');
    }, failToStart);
  }

  function failToStart(error) {
    document.body.textContent = 'Die Seite kann nicht geladen werden: ' + error;
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

  function buildPage() {
    document.title = LabAssets.program;
    menubar = document.getElementById('menubar');
    area = document.getElementById('stage-area');
    stage = document.getElementById('stage');
    var touchKeys = document.getElementById('touch-keys');
    if (window.matchMedia('(hover: none) and (pointer: coarse)').matches) {
      touchKeys.hidden = false;
      touchKeys.querySelectorAll('button').forEach(setUpTouchKey);
    }
    window.addEventListener('keydown', onKeyDown, true);
    window.addEventListener('keyup', onKeyUp, true);
    window.addEventListener('resize', fitStage);
    stage.addEventListener('pointerdown', onPointerDown);
    stage.addEventListener('pointermove', onPointerMove);
    stage.addEventListener('pointerup', onPointerUp);
    stage.addEventListener('pointercancel', onPointerUp);
    stage.addEventListener('contextmenu', function (event) { event.preventDefault(); });
    document.addEventListener('pointerdown', function (event) {
      if (menu.open >= 0 && !menubar.contains(event.target)) closeMenu();
    });
    document.getElementById('box-ok').addEventListener('click', closeBox);
  }

  // ------------------------------------------------------------------ windows

  function makeSurface(element, canvas, width, height) {
    canvas.width = Math.max(1, Math.round(width * ratio));
    canvas.height = Math.max(1, Math.round(height * ratio));
    canvas.style.width = width + 'px';
    canvas.style.height = height + 'px';
    var context = canvas.getContext('2d', { willReadFrequently: true });
    context.setTransform(ratio, 0, 0, ratio, 0, 0);
    return {
      element: element, canvas: canvas, context: context, width: width, height: height,
      fore: 'rgb(0,0,0)', back: 'rgb(255,255,255)', background: 'rgb(255,255,255)',
      lineWidth: 1, fontName: '', fontSize: 12, transparent: false, clip: null, tx: 0, ty: 0
    };
  }

  function fitStage() {
    if (!display || ended) return;
    // After a resize the picture is shown scaled; the drawing keeps its start-up size.
    var sx = area.clientWidth / display.width;
    var sy = area.clientHeight / display.height;
    stage.style.transform = 'scale(' + sx + ',' + sy + ')';
    wake();
  }

  function openMain() {
    ratio = Math.max(1, window.devicePixelRatio || 1);
    display = {
      width: Math.max(1, Math.floor(area.clientWidth)),
      height: Math.max(1, Math.floor(area.clientHeight))
    };
    stage.style.width = display.width + 'px';
    stage.style.height = display.height + 'px';
    Object.keys(surfaces).forEach(function (number) { if (number !== '0') closeWindow(+number); });
    surfaces[0] = makeSurface(stage, document.getElementById('screen'), display.width,
                              display.height);
    clearSurface(surfaces[0], true);
    fitStage();
    keys = [];
    mouse = { x: 0, y: 0, buttons: 0, pressedSinceRead: 0 };
    mainOpen = true;
    output = 0;
  }

  function clamped(value, low, high) {
    return Math.min(high, Math.max(low, value));
  }

  function openWindow(number, x, y, width, height) {
    closeWindow(number);
    output = number;
    if (!surfaces[0]) return;
    var frame = document.createElement('div');
    frame.id = 'window-' + number;
    frame.className = 'frame';
    x = clamped(x, -GuardLimit, GuardLimit);
    y = clamped(y, -GuardLimit, GuardLimit);
    width = clamped(width, 1, GuardLimit);
    height = clamped(height, 1, GuardLimit);
    frame.style.left = x + 'px';
    frame.style.top = y + 'px';
    var canvas = document.createElement('canvas');
    frame.appendChild(canvas);
    stage.appendChild(frame);
    surfaces[number] = makeSurface(frame, canvas, width, height);
    clearSurface(surfaces[number], true);
  }

  function closeWindow(number) {
    if (number === 0) {
      mainOpen = false;
      return;
    }
    var surface = surfaces[number];
    if (!surface) return;
    if (line && surface.element.contains(line.input)) endLine();
    surface.element.remove();
    delete surfaces[number];
    if (output === number) output = 0;
  }

  function setBackground(number, rgb) {
    var surface = surfaces[number];
    if (!surface) return false;
    surface.background = rgb;
    clearSurface(surface, true);
    return true;
  }

  function clearSurface(surface, wholly) {
    withClip(surface, wholly ? null : surface.clip, function (context) {
      context.fillStyle = surface.background;
      context.fillRect(0, 0, surface.width, surface.height);
    });
  }

  // ------------------------------------------------------------------ drawing

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

  // ------------------------------------------------------------------ text

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
  }

  function printText(text, lineEnd) {
    var s = current();
    if (!s) return;
    var width = textWidth(text);
    if (text.length > 0) drawTextAt(s, s.tx, s.ty, text, width);
    s.tx += width;
    if (lineEnd) {
      s.tx = 0;
      s.ty += fontOf(s).lineHeight;
    }
    // Keep the cursor in the guard range however many lines are printed.
    s.tx = clamped(s.tx, -GuardLimit, GuardLimit);
    s.ty = clamped(s.ty, -GuardLimit, GuardLimit);
  }

  // ------------------------------------------------------------------ images and pictures

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

  // ------------------------------------------------------------------ keys

  var KeyTexts = { Enter: '\r', Escape: '\x1b', Backspace: '\b', Tab: '\t', Delete: '\x7f' };
  var ModifierKeys = ['Shift', 'Control', 'Alt', 'AltGraph', 'Meta', 'OS', 'CapsLock', 'NumLock',
                      'ScrollLock', 'Hyper', 'Super', 'Fn', 'Dead', 'Unidentified'];

  // One entry per key press as the desktop's window records it; other keys give "{key}".
  function keyEntry(event) {
    if (ModifierKeys.indexOf(event.key) >= 0) return null;
    if (KeyTexts[event.key] !== undefined) return KeyTexts[event.key];
    if ([...event.key].length === 1) return event.key;
    return '{key}';
  }

  function pushKey(text) {
    keys.push(text);
    wake();
  }

  function onKeyDown(event) {
    if (ended) return;
    var key = event.key;
    if (key !== 'Alt') altAlone = false;
    if (boxes.length > 0) {
      // A box takes Return, Escape and the space for its button, and nothing reaches the program.
      if (key === 'Enter' || key === 'Escape' || key === ' ') closeBox();
      if (key !== 'Tab') event.preventDefault();
      return;
    }
    if (key === 'F10') {
      event.preventDefault();
      toggleMenuFromKeyboard();
      return;
    }
    if (key === 'Alt') {
      altAlone = !event.repeat;
      event.preventDefault();
      return;
    }
    if (menu.active) {
      event.preventDefault();
      menuKey(event);
      return;
    }
    if (line && event.target === line.input) {
      if (key === 'Enter') {
        event.preventDefault();
        line.state = 1;
        wake();
      }
      return;  // the field takes the other keys itself
    }
    if (event.ctrlKey || event.metaKey) return;
    event.preventDefault();
    var entry = keyEntry(event);
    if (entry !== null) pushKey(entry);
  }

  function onKeyUp(event) {
    if (ended || event.key !== 'Alt') return;
    event.preventDefault();
    var alone = altAlone;
    altAlone = false;
    if (alone && boxes.length === 0) toggleMenuFromKeyboard();
  }

  function readKey() {
    // A key wait nested inside a line input needs the keys the edit field would otherwise take.
    if (line && document.activeElement === line.input) line.input.blur();
    return keys.length > 0 ? keys.shift() : '';
  }

  function setUpTouchKey(button) {
    var repeat = null;
    function stop() {
      if (repeat) { clearTimeout(repeat.delay); clearInterval(repeat.every); }
      repeat = null;
    }
    button.addEventListener('pointerdown', function (event) {
      event.preventDefault();
      stop();
      if (boxes.length > 0 || menu.active || ended) return;
      var text = button.dataset.key;
      pushKey(text);
      // Held like a key of a keyboard: characters come at its repeat rate after a delay.
      repeat = { delay: setTimeout(function () {
        repeat.every = setInterval(function () { pushKey(text); }, 40);
      }, 500) };
    });
    ['pointerup', 'pointercancel', 'pointerleave'].forEach(function (type) {
      button.addEventListener(type, stop);
    });
    button.addEventListener('contextmenu', function (event) { event.preventDefault(); });
  }

  // ------------------------------------------------------------------ pointer

  function recordPointer(event) {
    var r = stage.getBoundingClientRect();
    if (!display || r.width <= 0 || r.height <= 0) return;
    mouse.x = Math.floor((event.clientX - r.left) * display.width / r.width);
    mouse.y = Math.floor((event.clientY - r.top) * display.height / r.height);
  }

  function touchButtons() {
    var count = Object.keys(touches).length;
    return count >= 2 ? 3 : count;  // two fingers at once are both buttons
  }

  function onPointerDown(event) {
    if (ended) return;
    recordPointer(event);
    if (event.pointerType === 'touch') {
      touches[event.pointerId] = true;
      mouse.buttons = touchButtons();
      mouse.pressedSinceRead |= mouse.buttons;
    } else {
      mouse.buttons = event.buttons & 3;
      mouse.pressedSinceRead |= event.button === 0 ? 1 : event.button === 2 ? 2 : 0;
      if (event.target !== (line && line.input)) event.preventDefault();
    }
    try { stage.setPointerCapture(event.pointerId); } catch (e) { /* gone already */ }
    wake();
  }

  function onPointerMove(event) {
    recordPointer(event);
    if (event.pointerType !== 'touch') mouse.buttons = event.buttons & 3;
    wake();
  }

  function onPointerUp(event) {
    recordPointer(event);
    if (event.pointerType === 'touch') {
      delete touches[event.pointerId];
      mouse.buttons = touchButtons();
    } else {
      mouse.buttons = event.buttons & 3;
    }
    wake();
  }

  function mouseButtons() {
    var buttons = mouse.buttons | mouse.pressedSinceRead;
    mouse.pressedSinceRead = 0;
    return buttons;
  }

  // ------------------------------------------------------------------ menu bar

  function accessKeyLabel(text) {
    var label = document.createDocumentFragment();
    var at = text.indexOf('&');
    if (at < 0 || at + 1 >= text.length) {
      label.appendChild(document.createTextNode(text));
      return { label: label, key: '' };
    }
    label.appendChild(document.createTextNode(text.slice(0, at)));
    var u = document.createElement('u');
    u.textContent = text[at + 1];
    label.appendChild(u);
    label.appendChild(document.createTextNode(text.slice(at + 2)));
    return { label: label, key: text[at + 1].toLowerCase() };
  }

  function installMenu(table) {
    closeMenu();
    menubar.textContent = '';
    menu.titles = [];
    var i = 0;
    while (i < table.length && table[i] !== '') {
      var title = document.createElement('div');
      title.className = 'menu-title';
      title.textContent = table[i];
      var list = document.createElement('div');
      list.className = 'menu';
      list.hidden = true;
      var group = { title: title, list: list, entries: [] };
      for (++i; i < table.length && table[i] !== ''; ++i) {
        var entry = document.createElement('div');
        entry.className = 'menu-entry';
        var made = accessKeyLabel(table[i]);
        entry.appendChild(made.label);
        entry.dataset.index = i;
        list.appendChild(entry);
        group.entries.push({ element: entry, index: i, key: made.key });
      }
      ++i;
      title.appendChild(list);
      menubar.appendChild(title);
      menu.titles.push(group);
      setUpTitle(group, menu.titles.length - 1);
    }
  }

  function setUpTitle(group, number) {
    group.title.addEventListener('pointerdown', function (event) {
      if (event.target.closest('.menu')) return;
      event.preventDefault();
      if (boxes.length > 0 || ended) return;
      if (menu.open === number) closeMenu(); else openMenu(number, -1, false);
    });
    group.title.addEventListener('pointerenter', function () {
      if (menu.open >= 0 && menu.open !== number && !menu.byKeyboard) openMenu(number, -1, false);
    });
    group.entries.forEach(function (entry, position) {
      // Only a moving pointer takes the highlight: a menu opened with the keyboard under a
      // resting pointer gets pointerenter too, which would move the keyboard's current entry.
      entry.element.addEventListener('pointermove', function () {
        if (menu.open === number) highlight(position);
      });
      entry.element.addEventListener('click', function (event) {
        event.stopPropagation();
        choose(entry.index);
      });
    });
  }

  function highlight(position) {
    var group = menu.titles[menu.open];
    if (!group) return;
    menu.entry = position;
    group.entries.forEach(function (entry, i) {
      entry.element.classList.toggle('current', i === position);
    });
  }

  function showTitle(number) {
    menu.titles.forEach(function (group, i) {
      group.title.classList.toggle('current', i === number);
      group.list.hidden = !(i === number && menu.open === number);
    });
  }

  function openMenu(number, entry, byKeyboard) {
    menu.active = true;
    menu.byKeyboard = byKeyboard;
    menu.open = number;
    showTitle(number);
    highlight(entry);
  }

  function closeMenu() {
    menu.active = false;
    menu.open = -1;
    menu.entry = -1;
    menu.current = -1;
    showTitle(-1);
    restoreFocus();
  }

  function toggleMenuFromKeyboard() {
    if (menu.active) {
      closeMenu();
      return;
    }
    if (menu.titles.length === 0) return;
    menu.active = true;
    menu.byKeyboard = true;
    menu.open = -1;
    menu.current = 0;
    if (line && document.activeElement === line.input) line.input.blur();
    showTitle(0);
  }

  function menuKey(event) {
    var count = menu.titles.length;
    var title = menu.open >= 0 ? menu.open : menu.current;
    var group = menu.titles[title];
    var size = group ? group.entries.length : 0;
    switch (event.key) {
      case 'ArrowLeft':
      case 'ArrowRight':
        title = (title + (event.key === 'ArrowRight' ? 1 : count - 1)) % count;
        menu.current = title;
        if (menu.open >= 0) openMenu(title, 0, true); else showTitle(title);
        break;
      case 'ArrowDown':
        if (menu.open < 0) openMenu(title, 0, true);
        else highlight((menu.entry + 1) % size);
        break;
      case 'ArrowUp':
        if (menu.open < 0) openMenu(title, size - 1, true);
        else highlight((menu.entry + size - 1) % size);
        break;
      case 'Enter':
      case ' ':
        if (menu.open < 0) openMenu(title, 0, true);
        else if (menu.entry >= 0) choose(group.entries[menu.entry].index);
        break;
      case 'Escape':
        if (menu.open >= 0) {
          menu.open = -1;
          menu.current = title;
          showTitle(title);
        } else {
          closeMenu();
        }
        break;
      default:
        if (menu.open >= 0) {
          var letter = event.key.toLowerCase();
          for (var i = 0; i < size; ++i) {
            if (group.entries[i].key === letter) {
              choose(group.entries[i].index);
              break;
            }
          }
        }
    }
  }

  // The command runs in the program's wait that takes it, nested like on the desktop.
  function choose(index) {
    closeMenu();
    if (boxes.length > 0 || ended) return;
    choices.push(index);
    wake();
  }

  function takeMenuChoice() {
    return choices.length > 0 ? choices.shift() : -1;
  }

  // ------------------------------------------------------------------ message boxes

  function showBox(text, symbol) {
    closeMenu();
    if (line && document.activeElement === line.input) line.input.blur();
    boxes.push({ text: text, symbol: symbol });
    renderBox();
    return boxes.length;
  }

  function renderBox() {
    var layer = document.getElementById('box-layer');
    var top = boxes[boxes.length - 1];
    layer.hidden = !top;
    menubar.classList.toggle('blocked', !!top);
    if (!top) return;
    document.getElementById('box-symbol').className = 'symbol-' + top.symbol;
    var textBox = document.getElementById('box-text');
    textBox.textContent = '';
    top.text.split('|').forEach(function (part) {
      var row = document.createElement('div');
      row.textContent = part;
      textBox.appendChild(row);
    });
    document.getElementById('box-ok').focus();
  }

  function closeBox() {
    if (boxes.length === 0) return;
    boxes.pop();
    renderBox();
    if (boxes.length === 0) restoreFocus();
    wake();
  }

  // ------------------------------------------------------------------ line input

  function beginLine() {
    endLine();
    var s = current();
    if (!s) return false;
    var font = fontOf(s);
    var input = document.createElement('input');
    input.id = 'line-input';
    input.type = 'text';
    input.autocomplete = 'off';
    input.spellcheck = false;
    input.inputMode = 'decimal';  // the number keyboard of a tablet
    input.style.left = s.tx + 'px';
    input.style.top = s.ty + 'px';
    input.style.width = Math.max(s.width - s.tx, 8) + 'px';
    input.style.height = Math.max(font.lineHeight, font.size + 2) + 'px';
    input.style.font = font.css;
    input.style.color = s.fore;
    input.style.background = s.back;
    s.element.appendChild(input);
    line = { input: input, state: 0 };
    input.focus();
    return true;
  }

  // 0 waiting, 1 entered, -1 gone with its window.
  function lineState() {
    if (!line) return -1;
    if (!line.input.isConnected) return -1;
    return line.state;
  }

  function lineText() {
    return line ? line.input.value : '';
  }

  function endLine() {
    if (!line) return;
    line.input.remove();
    line = null;
  }

  function restoreFocus() {
    if (line && line.input.isConnected && !menu.active && boxes.length === 0) line.input.focus();
  }

  // ------------------------------------------------------------------ printing

  function printerWrite(text, lineEnd) {
    if (!job) job = { pages: [[]], text: '', size: 12, ended: false };
    if (job.ended) {
      job.pages.push([]);
      job.ended = false;
    }
    job.text += text;
    if (lineEnd) {
      job.pages[job.pages.length - 1].push({ text: job.text, size: job.size });
      job.text = '';
    }
  }

  function printerFontSize(size) {
    if (!job) printerWrite('', false);
    job.size = isFinite(size) ? clamped(size, 1, 400) : 12;
  }

  function printerEndPage() {
    if (job) job.ended = true;
  }

  // The browser prints only through its own dialog: the page holds only the table.
  function printerEndJob() {
    if (!job) return;
    if (job.text !== '') printerWrite('', true);
    var page = document.getElementById('print-page');
    page.textContent = '';
    job.pages.forEach(function (lines) {
      var sheet = document.createElement('div');
      sheet.className = 'sheet';
      lines.forEach(function (printed) {
        var row = document.createElement('div');
        row.className = 'printed-line';
        row.style.fontSize = printed.size + 'pt';
        if (printed.text === '') row.appendChild(document.createElement('br'));
        else row.textContent = printed.text;
        sheet.appendChild(row);
      });
      page.appendChild(sheet);
    });
    job = null;
    setTimeout(function () { window.print(); }, 0);
  }

  // ------------------------------------------------------------------ the end

  function endProgram(reason) {
    if (ended) return;
    ended = true;
    mainOpen = false;
    endLine();
    var page = document.createElement('main');
    page.id = 'ended';
    var said = document.createElement('p');
    said.textContent = 'Das Programm ' + LabAssets.program + ' ist beendet.';
    page.appendChild(said);
    if (reason) {
      var why = document.createElement('p');
      why.textContent = reason;
      page.appendChild(why);
    }
    var again = document.createElement('p');
    var link = document.createElement('a');
    link.id = 'restart';
    link.href = location.href.split('#')[0];
    link.textContent = 'Noch einmal starten';
    again.appendChild(link);
    page.appendChild(again);
    document.body.textContent = '';
    document.body.appendChild(page);
  }

  return {
    start: start, instantiateProgram: instantiateProgram, prepare: prepare, sleep: sleep,
    openMain: openMain, openWindow: openWindow, closeWindow: closeWindow,
    mainExists: function () { return mainOpen && !ended; },
    activate: function (number) { var s = surfaces[number]; if (s && number) stage.appendChild(s.element); },
    setCaption: function (text) { if (!ended) document.title = text; },
    setBackground: setBackground,
    setOutput: function (number) { output = number; },
    clear: function () { var s = current(); if (s) clearSurface(s, false); },
    displayWidth: function () { return display ? display.width : Math.floor(area.clientWidth); },
    displayHeight: function () { return display ? display.height : Math.floor(area.clientHeight); },
    set: function (name, value) { var s = current(); if (s) s[name] = value; },
    drawLine: drawLine, drawBox: drawBox, fillBox: fillBox, drawCircle: drawCircle,
    drawText: drawText, printText: printText, textWidth: textWidth, lineHeight: lineHeight,
    setClip: setClip,
    clearClip: function () { var s = current(); if (s) s.clip = null; },
    setTextPosition: function (x, y) { var s = current(); if (s) { s.tx = x; s.ty = y; } },
    captureImage: captureImage, putImage: putImage, freeImage: freeImage,
    loadPicture: loadPicture, putPictureStretched: putPictureStretched,
    readKey: readKey,
    mouseX: function () { return mouse.x; },
    mouseY: function () { return mouse.y; },
    mouseButtons: mouseButtons,
    setCursor: function (crossHair) { stage.style.cursor = crossHair ? 'crosshair' : 'default'; },
    showBox: showBox, boxCount: function () { return boxes.length; },
    installMenu: installMenu, takeMenuChoice: takeMenuChoice,
    beginLine: beginLine, lineState: lineState, lineText: lineText, endLine: endLine,
    restoreFocus: restoreFocus,
    printerWrite: printerWrite, printerFontSize: printerFontSize,
    printerEndPage: printerEndPage, printerEndJob: printerEndJob,
    endProgram: endProgram
  };
})();

LabPage.start();
