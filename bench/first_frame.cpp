// Starts a program and measures, through the X server, when its window first shows a picture:
// the first moment a window of that process is mapped and more than a tenth of samples along
// four rows of it are not black. Then lets it play and reports its peak resident memory.
// Usage: first_frame SECONDS_TO_PLAY PROGRAM [ARGS...]
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {

long PidOf(Display* d, Window w) {
  static const Atom pid_atom = XInternAtom(d, "_NET_WM_PID", False);
  Atom type;
  int format;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  long pid = -1;
  if (XGetWindowProperty(d, w, pid_atom, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after,
                         &data) == Success &&
      data && items == 1) {
    pid = *reinterpret_cast<long*>(data);
  }
  if (data) XFree(data);
  return pid;
}

// A mapped window of process `pid` below `w`, or 0.
Window FindWindow(Display* d, Window w, long pid) {
  XWindowAttributes a;
  if (XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable && PidOf(d, w) == pid) return w;
  Window root, parent, *children = nullptr;
  unsigned int n = 0;
  Window found = 0;
  if (XQueryTree(d, w, &root, &parent, &children, &n)) {
    for (unsigned int i = 0; i < n && !found; ++i) found = FindWindow(d, children[i], pid);
    if (children) XFree(children);
  }
  return found;
}

// Samples four rows across the window (a few kilobytes a poll, so that polling loads the X server
// little): more than a tenth of the samples lit means a picture is shown.
bool ShowsAPicture(Display* d, Window w) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(d, w, &a) || a.width < 32 || a.height < 32) return false;
  int lit = 0, samples = 0;
  for (int row = 1; row <= 4; ++row) {
    XImage* image = XGetImage(d, w, 0, row * a.height / 5, a.width, 1, AllPlanes, ZPixmap);
    if (!image) return false;
    for (int x = 0; x < a.width; x += 16, ++samples) {
      if (XGetPixel(image, x, 0) & 0xFFFFFF) ++lit;
    }
    XDestroyImage(image);
  }
  return lit * 10 > samples;
}

long PeakRssKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: first_frame SECONDS_TO_PLAY PROGRAM [ARGS...]\n");
    return 2;
  }
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    std::fprintf(stderr, "first_frame: no display\n");
    return 1;
  }
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // windows come and go
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[2], argv + 2);
    _exit(127);
  }
  double first_ms = -1;
  while (std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
    const Window w = FindWindow(d, DefaultRootWindow(d), pid);
    if (w && ShowsAPicture(d, w)) {
      first_ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count();
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  std::this_thread::sleep_for(std::chrono::duration<double>(std::atof(argv[1])));
  const long rss = PeakRssKiB(pid);
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  std::printf("%.1f %.1f\n", first_ms, rss / 1024.0);
  return first_ms < 0;
}
