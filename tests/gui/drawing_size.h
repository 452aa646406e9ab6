// Tests that need an exact drawing area run in a child copy of the test program whose offscreen
// screen is sized for it.
#pragma once

namespace lab::gui {

// True in a process whose maximized main window gets a drawing area of width x height; anywhere
// else it runs the current test in such a child process, checks that it passed there, and
// returns false.
bool atDrawingSize(int width, int height);

}  // namespace lab::gui
