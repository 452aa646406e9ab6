// Watches an X server for the benchmarks, with the DAMAGE extension so no screenshot polling
// is needed:
//   xwatch first-frame TIMEOUT PROGRAM [ARGS...]  starts the program and prints the
//       milliseconds until one of its windows shows blue at a quarter of its width and half
//       its height (the title screen's left panel, the baseline's frame); then ends it.
//   xwatch latency WINDOW COUNT TIMEOUT  prints "ready", then for each key press delivered to
//       the window the microseconds until the window is next damaged, one per line.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int MinWidth = 300;
constexpr int MinHeight = 200;

// Windows vanish and change while we look at them; such errors are expected.
int ignoreErrors(Display*, XErrorEvent*) {
  return 0;
}

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Waits up to the deadline for the next event; false when the time is up.
bool nextEvent(Display* display, XEvent& event, Clock::time_point deadline) {
  while (!XPending(display)) {
    const double left = std::chrono::duration<double, std::milli>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(left) + 1);
  }
  XNextEvent(display, &event);
  return true;
}

bool showsBlue(Display* display, Window window) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return false;
  if (attributes.map_state != IsViewable || attributes.width < MinWidth ||
      attributes.height < MinHeight) {
    return false;
  }
  XImage* image = XGetImage(display, window, attributes.width / 4, attributes.height / 2, 1, 1,
                            AllPlanes, ZPixmap);
  if (!image) return false;
  const unsigned long pixel = XGetPixel(image, 0, 0);
  const bool blue = (pixel & image->red_mask) == 0 && (pixel & image->green_mask) == 0 &&
                    (pixel & image->blue_mask) == image->blue_mask;
  XDestroyImage(image);
  return blue;
}

int firstFrame(Display* display, int damageEvent, double timeout, char** command) {
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);
  const Clock::time_point start = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execv(command[0], command);
    std::perror("exec");
    _exit(127);
  }
  std::map<Damage, Window> watched;
  const auto deadline =
      start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(timeout));
  double found = -1;
  XEvent event;
  while (found < 0 && nextEvent(display, event, deadline)) {
    if (event.type == CreateNotify) {
      const Window window = event.xcreatewindow.window;
      watched[XDamageCreate(display, window, XDamageReportNonEmpty)] = window;
    } else if (event.type == damageEvent + XDamageNotify) {
      const auto* notify = reinterpret_cast<XDamageNotifyEvent*>(&event);
      XDamageSubtract(display, notify->damage, None, None);
      const auto it = watched.find(notify->damage);
      if (it != watched.end() && showsBlue(display, it->second)) found = secondsSince(start);
    }
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  if (found < 0) {
    std::fprintf(stderr, "no blue frame within %.0f s\n", timeout);
    return 1;
  }
  std::printf("%.3f\n", found * 1000.0);
  return 0;
}

int latency(Display* display, int damageEvent, Window window, int count, double timeout) {
  // Several clients may select key presses on one window; the program still gets its own.
  XSelectInput(display, window, KeyPressMask);
  const Damage damage = XDamageCreate(display, window, XDamageReportNonEmpty);
  XSync(display, False);
  std::printf("ready\n");
  std::fflush(stdout);
  const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                           std::chrono::duration<double>(timeout));
  bool awaiting = false;
  Clock::time_point pressed;
  int samples = 0;
  XEvent event;
  while (samples < count && nextEvent(display, event, deadline)) {
    if (event.type == KeyPress) {
      awaiting = true;
      pressed = Clock::now();
    } else if (event.type == damageEvent + XDamageNotify) {
      XDamageSubtract(display, damage, None, None);
      if (awaiting) {
        std::printf("%.1f\n",
                    std::chrono::duration<double, std::micro>(Clock::now() - pressed).count());
        std::fflush(stdout);
        awaiting = false;
        ++samples;
      }
    }
  }
  return samples == count ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: xwatch first-frame TIMEOUT PROGRAM [ARGS...]\n"
                 "       xwatch latency WINDOW COUNT TIMEOUT\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "no X display\n");
    return 1;
  }
  XSetErrorHandler(ignoreErrors);
  int damageEvent = 0;
  int damageError = 0;
  if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
    std::fprintf(stderr, "the X server has no DAMAGE extension\n");
    return 1;
  }
  const std::string mode = argv[1];
  if (mode == "first-frame") return firstFrame(display, damageEvent, std::atof(argv[2]), argv + 3);
  if (mode == "latency" && argc >= 5) {
    return latency(display, damageEvent, std::strtoul(argv[2], nullptr, 0), std::atoi(argv[3]),
                   std::atof(argv[4]));
  }
  std::fprintf(stderr, "unknown mode %s\n", argv[1]);
  return 2;
}
