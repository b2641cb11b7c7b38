// What an X11 desktop states that SDL does not tell: its scale, its depth, harmless errors.
#include "platforms/sdl/desktop_x11.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xproto.h>
#include <X11/Xresource.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

#include "runtime/viewport.h"

namespace vk {

namespace {

// The window's X11 display, or null under another video driver.
Display* XDisplayOf(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
  return info.info.x11.display;
}

XErrorHandler xlib_handler = nullptr;

// SDL wakes its own wait by sending an event to the window on a second connection; when input
// ends the program during that wait, the window can be gone before the server reads the send.
int IgnoreGoneWindows(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
  return xlib_handler ? xlib_handler(display, error) : 0;
}

}  // namespace

void FilterGoneWindowErrors() {
  if (!xlib_handler) xlib_handler = XSetErrorHandler(IgnoreGoneWindows);
}

int ScreenDepth(SDL_Window* window) {
  Display* display = XDisplayOf(window);
  return display ? DefaultDepth(display, DefaultScreen(display)) : 0;
}

int DesktopDpi(SDL_Window* window) {
  Display* display = XDisplayOf(window);
  if (!display) return kDefaultDpi;
  if (const char* gdk = std::getenv("GDK_SCALE")) {
    const int factor = std::atoi(gdk);
    if (factor >= 1 && factor <= 8) return factor * kDefaultDpi;
  }
  // From the root window itself: Xlib's copy is the one the connection opened with.
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* resources = nullptr;
  if (XGetWindowProperty(display, DefaultRootWindow(display), XA_RESOURCE_MANAGER, 0, LONG_MAX / 4,
                         False, XA_STRING, &type, &format, &items, &after, &resources) != Success ||
      !resources) {
    return kDefaultDpi;
  }
  XrmInitialize();
  XrmDatabase database = XrmGetStringDatabase(reinterpret_cast<const char*>(resources));
  XFree(resources);
  char* kind = nullptr;
  XrmValue value{};
  double dpi = 0;
  if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &kind, &value) && value.addr) {
    dpi = std::strtod(value.addr, nullptr);
  }
  XrmDestroyDatabase(database);
  return dpi >= 24 && dpi <= 960 ? static_cast<int>(std::lround(dpi)) : kDefaultDpi;
}

void WatchDesktopScale(SDL_Window* window) {
  Display* display = XDisplayOf(window);
  if (!display) return;
  // Added to what this connection already asks of the root window, which SDL may use too.
  XWindowAttributes root{};
  XGetWindowAttributes(display, DefaultRootWindow(display), &root);
  XSelectInput(display, DefaultRootWindow(display), root.your_event_mask | PropertyChangeMask);
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

bool IsScaleChange(const SDL_Event& event) {
  if (event.type != SDL_SYSWMEVENT || event.syswm.msg->subsystem != SDL_SYSWM_X11) return false;
  const XEvent& x = event.syswm.msg->msg.x11.event;
  return x.type == PropertyNotify && x.xproperty.atom == XA_RESOURCE_MANAGER &&
         x.xproperty.window == DefaultRootWindow(x.xproperty.display);
}

}  // namespace vk
