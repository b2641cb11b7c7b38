// The player in a web page: the page's events in, Picture1's picture out on a canvas.
#include "platforms/web/web_screen.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <optional>

#include "platforms/web/page_library.h"
#include "runtime/legend.h"
#include "runtime/viewport.h"

namespace vk {

namespace {

WebScreen* the_screen = nullptr;  // for the page's own listeners

EM_BOOL OnKey(int, const EmscriptenKeyboardEvent* e, void* data) {
  const auto code = WebKeyCode(e->key, e->ctrlKey || e->altKey || e->metaKey);
  if (!code) return EM_FALSE;  // the browser's: F5, F11, Ctrl+R ...
  static_cast<WebScreen*>(data)->Queue({InputEvent::Type::kKeyPress, *code});
  // The player's keys are kept from the page: Space scrolls neither it nor a page around it.
  return WebKeyIsCommand(*code) ? EM_TRUE : EM_FALSE;
}

}  // namespace

// The picture's pointer events, from the page's listeners (pointer.js): a mouse, a finger or a
// pen. `kind` 0 is a move, 1 a press, 2 a release; x and y are in CSS pixels on the picture,
// whose size is width by height.
extern "C" EMSCRIPTEN_KEEPALIVE void vk_pointer(int kind, double x, double y, double width,
                                                double height, double time_ms, int buttons,
                                                int shift, int touch) {
  WebScreen* screen = the_screen;
  if (!screen) return;
  std::optional<InputEvent> event;
  if (kind == 0) {
    // A pointer event's buttons: 1 left, 2 right, 4 middle; `shift` 1 Shift, 2 Ctrl, 4 Alt.
    event = PointerMove(x, y, Viewport{0, 0, width, height}, screen->scale(),
                        {(buttons & 1) != 0, (buttons & 2) != 0, (buttons & 4) != 0,
                         (shift & 1) != 0, (shift & 2) != 0, (shift & 4) != 0});
  } else if (kind == 1) {
    event = screen->clicks().Press(
        time_ms, x, y, touch ? WebClicks::kDoubleTapDistance : WebClicks::kDoubleClickDistance);
  } else {
    event = screen->clicks().Release();
  }
  if (event) screen->Queue(*event);
}

// A key from the page's buttons, by its KeyboardEvent name ("-", " ", "Escape"), as if it were
// pressed.
extern "C" EMSCRIPTEN_KEEPALIVE void vk_key(const char* key) {
  if (!the_screen) return;
  if (const auto code = WebKeyCode(key, false)) {
    the_screen->Queue({InputEvent::Type::kKeyPress, *code});
  }
}

// Holder `i`'s slide is decoded and kept by the page (`ok` 1), or could not be.
extern "C" EMSCRIPTEN_KEEPALIVE void vk_decoded(int i, int ok) {
  if (the_screen) the_screen->Decoded(i, ok != 0);
}

void WebScreen::Open() {
  the_screen = this;
  // The caption's runs of spaces, which a page's title would collapse, as no-break spaces.
  std::string title;
  const std::string& caption = layout_.caption;
  for (size_t i = 0; i < caption.size(); ++i) {
    const bool in_run = caption[i] == ' ' && ((i > 0 && caption[i - 1] == ' ') ||
                                              (i + 1 < caption.size() && caption[i + 1] == ' '));
    title += in_run ? "\xC2\xA0" : std::string(1, caption[i]);
  }
  vk_page_name(title.c_str(), caption.c_str());
  for (const LegendLine& line : kLegend) {
    if (line.page_keys) vk_page_legend(line.page_keys, line.meaning);
  }
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, this, EM_FALSE, OnKey);
  std::vector<uint32_t> jpegs;  // where each JPEG lies in the module's memory, and its length
  for (const auto& jpeg : layout_.holder_jpegs) {
    jpegs.push_back(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(jpeg.data())));
    jpegs.push_back(static_cast<uint32_t>(jpeg.size()));
  }
  vk_page_decode(jpegs.data(), kHolders, kSlideWidth, kSlideHeight);
}

void WebScreen::Decoded(int i, bool ok) {
  if (i < 0 || i >= kHolders) return;
  if (ok) {
    auto picture = std::make_shared<Picture>();
    picture->width = kSlideWidth, picture->height = kSlideHeight;
    picture->format = Picture::Format::kHeldByScreen;
    picture->stride[0] = i;
    holders_[i] = std::move(picture);
  }
  settled_[i] = true;
}

void WebScreen::Poll(Polled& polled) {
  polled.any = !queued_.empty();
  polled.input.swap(queued_);
  queued_.clear();
}

bool WebScreen::Draw(const PictureRef& picture) {
  if (!picture || picture->format != Picture::Format::kHeldByScreen) return true;
  return vk_page_draw(picture->stride[0], picture->width, picture->height) != 0;
}

void WebScreen::Hide() { vk_page_hide(); }

void WebScreen::Loaded() { vk_page_loaded(); }

void WebScreen::Ended(int status, const std::string& message) {
  the_screen = nullptr;
  vk_page_loaded();
  vk_page_end(message.c_str(), status);
}

}  // namespace vk
