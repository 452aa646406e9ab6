// The offscreen Qt platform with a screen of a chosen size, for the benchmarks that run
// without an X server.
#pragma once

namespace lab::bench {

// Unless QT_QPA_PLATFORM is set already, selects the offscreen platform with one screen of
// the given size. Call before the application object exists.
void useOffscreenScreen(int width, int height);

}  // namespace lab::bench
