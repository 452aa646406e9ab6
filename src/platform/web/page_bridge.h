// The calls into the page (lab_library.js, then the page scripts in page/). Strings returned by
// the page are allocated with malloc (an empty one is a null pointer); PageText takes them over.
#pragma once

#include <cstdlib>
#include <memory>
#include <string>

extern "C" {
void lab_wait_event();
void lab_open_main();
void lab_open_window(int number, int x, int y, int width, int height);
void lab_close_window(int number);
void lab_activate_window(int number);
void lab_set_caption(const char* text);
int lab_set_background(int number, const char* rgb);
void lab_set_output(int number);
void lab_clear();
int lab_main_exists();
int lab_display_width();
int lab_display_height();
void lab_set_colour(int back, int red, int green, int blue);
int lab_high_contrast();
void lab_set_line_width(int width);
void lab_set_font_name(const char* name);
void lab_set_font_size(double size);
void lab_set_text_transparent(int transparent);
void lab_draw_line(double x1, double y1, double x2, double y2);
void lab_draw_box(double x1, double y1, double x2, double y2);
void lab_fill_box(double x1, double y1, double x2, double y2);
void lab_draw_circle(double cx, double cy, double radius);
void lab_draw_text(double x, double y, const char* text);
void lab_print_text(const char* text, int line_end);
double lab_text_width(const char* text);
double lab_line_height();
void lab_set_clip(double x1, double y1, double x2, double y2);
void lab_clear_clip();
void lab_set_text_position(int x, int y);
int lab_capture_image(int x1, int y1, int x2, int y2);
void lab_put_image(int id, int x, int y);
void lab_free_image(int id);
int lab_load_picture(const char* name);
void lab_put_picture(int id, int x, int y, int width, int height);
char* lab_read_key();
int lab_mouse_x();
int lab_mouse_y();
int lab_mouse_buttons();
void lab_set_cursor(int cross_hair);
void lab_show_point(int shown, int x, int y);
int lab_read_point_key();
void lab_announce(const char* text);
void lab_describe_drawing(const char* text);
void lab_show_table(const char* tab_separated);
int lab_show_box(const char* text, const char* symbol);
int lab_box_count();
void lab_install_menu(const char* const* entries, int count);
int lab_take_menu_choice();
int lab_begin_line();
int lab_line_state();
char* lab_line_text();
void lab_end_line();
void lab_resume_line();
void lab_printer_write(const char* text, int line_end);
void lab_printer_font_size(double size);
void lab_printer_end_page();
void lab_printer_end_job();
void lab_end_program(const char* reason);
}

namespace lab {

inline std::string PageText(char* text) {
  const std::unique_ptr<char, decltype(&std::free)> owned(text, &std::free);
  return owned ? std::string(owned.get()) : std::string();
}

}  // namespace lab
