// What an X11 desktop states that SDL does not tell: its scale and the changes of it, the depth
// of its screen, and which of its errors are no fault of the player's. Under another video driver
// (Wayland) each says nothing.
#pragma once

#include <SDL.h>

namespace vk {

// Keeps an X error about a window the player has already destroyed from ending the program, and
// passes every other to Xlib's own handler. Set before SDL starts, which chains its own to it.
void FilterGoneWindowErrors();

// Bits a pixel of the window's screen, or 0 where that is not known.
int ScreenDepth(SDL_Window* window);

// The desktop's scale in dots per inch, read as GTK and Qt programs read it: GDK_SCALE (a whole
// factor, at start only) where set, else the Xft.dpi resource as the root window holds it now
// (144 is 150 %), else 96.
int DesktopDpi(SDL_Window* window);

// Asks for the desktop's changes of its resources, so that IsScaleChange can tell them.
void WatchDesktopScale(SDL_Window* window);
// Whether `event` (a window-system event, which WatchDesktopScale turns on) says the desktop's
// resources, and so perhaps its scale, changed.
bool IsScaleChange(const SDL_Event& event);

}  // namespace vk
