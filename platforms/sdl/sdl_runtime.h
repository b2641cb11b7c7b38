// The player's window on a desktop through SDL2: it turns SDL's events into the form's events
// and brings Picture1's picture to the screen. SDL lives in this room only (with desktop_x11).
#pragma once

#include <SDL.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "runtime/runtime.h"
#include "runtime/slides.h"
#include "runtime/timing.h"
#include "runtime/viewport.h"
#include "runtime/window.h"

namespace vk {

// The events of Picture1 that one SDL event makes, in order: KeyPress with the character code in
// a single-byte character set (Latin-1) for typed text, 27 for Escape, 13 for Enter, 8 for
// Backspace; Click when a single click's left button is released and DblClick on the second press
// of a double click; MouseMove with the pointer in Picture1's scale.
std::vector<InputEvent> TranslateEvent(const SDL_Event& event, const Viewport& viewport,
                                       const ScaleBlock& scale);

class SdlRuntime : public Runtime {
 public:
  SdlRuntime(const WindowLayout& layout, SlidePictures& pictures)
      : layout_(layout), pictures_(pictures) {}
  ~SdlRuntime() override;

  // Opens the window; false with a one-line `error` when there is no display to open it on.
  bool Open(std::string* error);
  // Raises the form's activation event; the form's exceptions pass to the caller.
  void Activate(FormEvents& form);
  // Reports a run-time error on standard error and in a message box.
  void ReportError(const RuntimeError& error);

  PictureRef HolderPicture(std::string_view holder) override;
  int32_t SetPicture(PictureRef picture) override;
  void PumpEvents() override;
  int32_t HideWindow() override;
  [[noreturn]] void EndProgram() override;
  // Sleeps until the count's deadline, which follows the last one; events wait in SDL's queue.
  void Count(uint64_t steps) override;

 private:
  void WindowEvent(uint8_t what);
  // Draw Picture1 into the next frame; presenting it is one call after.
  void DrawWithRenderer();
  void DrawToFramebuffer();
  // Picture1's samples as BGRX pixels in the frame; false when there is no room for it.
  bool DecodeToFrame();
  void KeepScaled();
  void Resized();
  // The frame the window manager draws around the window: its width and height together.
  PixelSize Frame() const;
  void FitWindow(bool place);

  const WindowLayout& layout_;
  SlidePictures& pictures_;
  CountClock count_clock_;
  PresentGate gate_{RefreshPeriod(0)};
  bool still_ = false;    // Picture1 unchanged and no event since the last pump
  bool counted_ = false;  // a count ran since the last pump: the loop, not the loading, pumps
  FormEvents* form_ = nullptr;

  SDL_Window* window_ = nullptr;
  int dpi_ = kDefaultDpi;             // the desktop's scale the window is sized for
  bool framed_ = false;               // sized with the window manager's frame known
  bool software_ = false;             // no GPU: draw into the window's framebuffer
  SDL_Renderer* renderer_ = nullptr;  // with a GPU: SDL's renderer and one 4:2:0 texture
  SDL_Texture* texture_ = nullptr;
  void* tj_ = nullptr;            // without one: libjpeg-turbo's converter to RGB
  void* tj_encode_ = nullptr;     // and back to 4:2:0, for the scaled pictures
  SDL_Surface* frame_ = nullptr;  // the picture in RGB, to scale it or convert it
  struct Scaled {
    std::vector<uint8_t> samples;
    Picture picture;
  };
  std::unordered_map<const Picture*, Scaled> scaled_;  // by the slide's own picture
  bool keep_scaled_ = false;  // the framebuffer holds a newly scaled picture
  Viewport viewport_;         // window coordinates, for the pointer
  SDL_Rect picture_rect_{};   // output pixels, for drawing
  PixelSize framebuffer_{};   // the framebuffer's size that picture_rect_ was placed in

  PictureRef picture1_;    // Picture1's picture: kept while shown
  bool uploaded_ = false;  // the texture or the framebuffer holds picture1_
};

}  // namespace vk
