// The least an X program does to show a slide and keep a pace, for the benchmarks to measure the
// player against: a bare Xlib window, the JPEG decoded by TurboJPEG, then the picture put again
// every 100 ms on deadlines that follow each other. Usage: floor_xlib SLIDE.jpg
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: floor_xlib SLIDE.jpg\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  std::vector<unsigned char> jpeg{std::istreambuf_iterator<char>(file), {}};
  Display* d = XOpenDisplay(nullptr);
  if (!d || jpeg.empty()) return 1;
  const int screen = DefaultScreen(d), depth = DefaultDepth(d, screen);
  const int width = 1024, height = 768;
  const Window w = XCreateSimpleWindow(d, RootWindow(d, screen), 0, 0, width, height, 0, 0, 0);
  const long pid = getpid();
  XChangeProperty(d, w, XInternAtom(d, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&pid), 1);
  XSelectInput(d, w, ExposureMask);
  XMapWindow(d, w);

  // Decoded while the server maps the window; 16-bit screens take RGB565.
  auto* pixels = static_cast<uint32_t*>(malloc(width * height * 4));  // XDestroyImage's to free
  tjhandle tj = tjInitDecompress();
  if (tjDecompress2(tj, jpeg.data(), jpeg.size(), reinterpret_cast<unsigned char*>(pixels), width,
                    0, height, TJPF_BGRX, TJFLAG_FASTDCT) != 0) {
    return 1;
  }
  tjDestroy(tj);
  char* data = reinterpret_cast<char*>(pixels);
  if (depth == 16) {
    auto* packed = reinterpret_cast<uint16_t*>(pixels);  // in place: each pixel shrinks
    for (int i = 0; i < width * height; ++i) {
      const uint32_t p = pixels[i];
      packed[i] =
          static_cast<uint16_t>(((p >> 8) & 0xF800) | ((p >> 5) & 0x07E0) | ((p >> 3) & 0x1F));
    }
  }
  XImage* image = XCreateImage(d, DefaultVisual(d, screen), depth, ZPixmap, 0, data, width, height,
                               depth == 16 ? 16 : 32, 0);
  const GC gc = DefaultGC(d, screen);
  for (XEvent e;;) {
    XNextEvent(d, &e);
    if (e.type == Expose) break;
  }
  auto deadline = std::chrono::steady_clock::now();
  for (;;) {
    XPutImage(d, w, gc, image, 0, 0, 0, 0, width, height);
    XFlush(d);
    while (XPending(d)) {
      XEvent e;
      XNextEvent(d, &e);
    }
    deadline += std::chrono::milliseconds(100);
    std::this_thread::sleep_until(deadline);
  }
}
