// The functions the C++ side of the browser platform imports: each hands its call to the page
// (the page scripts in page/). Strings go in as UTF-8 pointers; strings coming back are allocated
// with malloc and freed by the caller, an empty one comes back as a null pointer. lab_wait_event
// is the one call that suspends the program.
mergeInto(LibraryManager.library, {
  lab_wait_event: function () {
    return Asyncify.handleSleep(function (wakeUp) {
      LabPage.sleep(wakeUp);
    });
  },
  lab_open_main: function () {
    LabPage.openMain();
  },
  lab_open_window: function (number, x, y, width, height) {
    LabPage.openWindow(number, x, y, width, height);
  },
  lab_close_window: function (number) {
    LabPage.closeWindow(number);
  },
  lab_activate_window: function (number) {
    LabPage.activate(number);
  },
  lab_set_caption: function (text) {
    LabPage.setCaption(UTF8ToString(text));
  },
  lab_set_background: function (number, rgb) {
    return LabPage.setBackground(number, UTF8ToString(rgb)) ? 1 : 0;
  },
  lab_set_output: function (number) {
    LabPage.setOutput(number);
  },
  lab_clear: function () {
    LabPage.clear();
  },
  lab_high_contrast: function () {
    return LabPage.isHighContrast() ? 1 : 0;
  },
  lab_main_exists: function () {
    return LabPage.mainExists() ? 1 : 0;
  },
  lab_display_width: function () {
    return LabPage.displayWidth();
  },
  lab_display_height: function () {
    return LabPage.displayHeight();
  },
  // Every step sets three colours: as numbers they need no string built and read back.
  lab_set_colour: function (back, red, green, blue) {
    LabPage.setColour(!!back, 'rgb(' + red + ',' + green + ',' + blue + ')');
  },
  lab_set_line_width: function (width) {
    LabPage.setLineWidth(width);
  },
  lab_set_font_name: function (name) {
    LabPage.setFontName(UTF8ToString(name));
  },
  lab_set_font_size: function (size) {
    LabPage.setFontSize(size);
  },
  lab_set_text_transparent: function (transparent) {
    LabPage.setTransparent(!!transparent);
  },
  lab_draw_line: function (x1, y1, x2, y2) {
    LabPage.drawLine(x1, y1, x2, y2);
  },
  lab_draw_box: function (x1, y1, x2, y2) {
    LabPage.drawBox(x1, y1, x2, y2);
  },
  lab_fill_box: function (x1, y1, x2, y2) {
    LabPage.fillBox(x1, y1, x2, y2);
  },
  lab_draw_circle: function (cx, cy, radius) {
    LabPage.drawCircle(cx, cy, radius);
  },
  lab_draw_text: function (x, y, text) {
    LabPage.drawText(x, y, UTF8ToString(text));
  },
  lab_print_text: function (text, lineEnd) {
    LabPage.printText(UTF8ToString(text), !!lineEnd);
  },
  lab_text_width: function (text) {
    return LabPage.textWidth(UTF8ToString(text));
  },
  lab_line_height: function () {
    return LabPage.lineHeight();
  },
  lab_set_clip: function (x1, y1, x2, y2) {
    LabPage.setClip(x1, y1, x2, y2);
  },
  lab_clear_clip: function () {
    LabPage.clearClip();
  },
  lab_set_text_position: function (x, y) {
    LabPage.setTextPosition(x, y);
  },
  lab_capture_image: function (x1, y1, x2, y2) {
    return LabPage.captureImage(x1, y1, x2, y2);
  },
  lab_put_image: function (id, x, y) {
    LabPage.putImage(id, x, y);
  },
  lab_free_image: function (id) {
    LabPage.freeImage(id);
  },
  lab_load_picture: function (name) {
    return LabPage.loadPicture(UTF8ToString(name));
  },
  lab_put_picture: function (id, x, y, width, height) {
    LabPage.putPictureStretched(id, x, y, width, height);
  },
  // Most reads find the queue empty: nothing to allocate then.
  lab_read_key: function () {
    var key = LabPage.readKey();
    return key ? allocateUTF8(key) : 0;
  },
  lab_mouse_x: function () {
    return LabPage.mouseX();
  },
  lab_mouse_y: function () {
    return LabPage.mouseY();
  },
  lab_mouse_buttons: function () {
    return LabPage.mouseButtons();
  },
  lab_set_cursor: function (crossHair) {
    LabPage.setCursor(!!crossHair);
  },
  lab_show_point: function (shown, x, y) {
    LabPage.showPoint(!!shown, x, y);
  },
  lab_read_point_key: function () {
    return LabPage.readPointKey();
  },
  lab_announce: function (text) {
    LabPage.announce(UTF8ToString(text));
  },
  lab_describe_drawing: function (text) {
    LabPage.describeDrawing(UTF8ToString(text));
  },
  lab_show_table: function (text) {
    LabPage.showTable(UTF8ToString(text));
  },
  lab_show_box: function (text, symbol) {
    return LabPage.showBox(UTF8ToString(text), UTF8ToString(symbol));
  },
  lab_box_count: function () {
    return LabPage.boxCount();
  },
  lab_install_menu: function (entries, count) {
    var table = [];
    for (var i = 0; i < count; ++i) table.push(UTF8ToString(HEAP32[(entries >> 2) + i]));
    LabPage.installMenu(table);
  },
  lab_take_menu_choice: function () {
    return LabPage.takeMenuChoice();
  },
  lab_begin_line: function () {
    return LabPage.beginLine() ? 1 : 0;
  },
  lab_line_state: function () {
    return LabPage.lineState();
  },
  lab_line_text: function () {
    return allocateUTF8(LabPage.lineText());
  },
  lab_end_line: function () {
    LabPage.endLine();
  },
  lab_resume_line: function () {
    LabPage.resumeLine();
  },
  lab_printer_write: function (text, lineEnd) {
    LabPage.printerWrite(UTF8ToString(text), !!lineEnd);
  },
  lab_printer_font_size: function (size) {
    LabPage.printerFontSize(size);
  },
  lab_printer_end_page: function () {
    LabPage.printerEndPage();
  },
  lab_printer_end_job: function () {
    LabPage.printerEndJob();
  },
  lab_end_program: function (reason) {
    LabPage.endProgram(UTF8ToString(reason));
  },
});
