// What the benchmarks read of another program through the X server and /proc: its window, whether
// it shows a picture, its memory and its processor time.
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace vk::bench {

// The process that owns window `w`, as it states it, or -1. The atom is asked of each display
// (Xlib keeps it), since each server numbers its atoms its own way.
inline long PidOf(Display* d, Window w) {
  const Atom pid_atom = XInternAtom(d, "_NET_WM_PID", False);
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

// Whether window `w`'s name begins with `prefix`.
inline bool NamedFrom(Display* d, Window w, const std::string& prefix) {
  char* name = nullptr;
  if (!XFetchName(d, w, &name) || !name) return false;
  const bool named = std::string(name).rfind(prefix, 0) == 0;
  XFree(name);
  return named;
}

// A mapped window of process `pid` below `w`, whose name begins with `prefix`, or 0.
inline Window FindWindow(Display* d, Window w, long pid, const std::string& prefix = "") {
  XWindowAttributes a;
  if (XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable && PidOf(d, w) == pid &&
      (prefix.empty() || NamedFrom(d, w, prefix)))
    return w;
  Window root, parent, *children = nullptr;
  unsigned int n = 0;
  Window found = 0;
  if (XQueryTree(d, w, &root, &parent, &children, &n)) {
    for (unsigned int i = 0; i < n && !found; ++i) found = FindWindow(d, children[i], pid, prefix);
    if (children) XFree(children);
  }
  return found;
}

// Samples four rows across the window (a few kilobytes a poll, so that polling loads the X server
// little): more than a tenth of the samples lit means a picture is shown.
inline bool ShowsAPicture(Display* d, Window w) {
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

// Peak resident memory of process `pid`.
inline long PeakRssKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

// Processor time process `pid` has used, user and system, in seconds.
inline double CpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));  // after the command name
  std::string field;
  double ticks = 0;
  for (int i = 1; i <= 13 && fields >> field; ++i) {
    if (i >= 12) ticks += std::stod(field);  // utime, stime
  }
  return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

}  // namespace vk::bench
