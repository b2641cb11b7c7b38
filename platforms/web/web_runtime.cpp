// The player in a web page: the page's events in, Picture1's picture out on a canvas.
#include "platforms/web/web_runtime.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

#include "runtime/viewport.h"

namespace vk {

namespace {

WebRuntime* the_runtime = nullptr;  // for the page's own listeners

EM_BOOL OnKey(int, const EmscriptenKeyboardEvent* e, void* data) {
  const auto code = WebKeyCode(e->key, e->ctrlKey || e->altKey || e->metaKey);
  if (!code) return EM_FALSE;  // the browser's: F5, F11, Ctrl+R ...
  InputEvent key{InputEvent::Type::kKeyPress};
  key.key = *code;
  static_cast<WebRuntime*>(data)->Queue(key);
  // The player's keys are kept from the page: Space scrolls neither it nor a page around it.
  return WebKeyIsCommand(*code) ? EM_TRUE : EM_FALSE;
}

}  // namespace

// The picture's pointer events, from the page's listeners (index.html): a mouse, a finger or a pen.
// `kind` 0 is a move, 1 a press, 2 a release; x and y are in CSS pixels on the picture, whose
// size is width by height.
extern "C" EMSCRIPTEN_KEEPALIVE void vk_pointer(int kind, double x, double y, double width,
                                                double height, double time_ms, int buttons,
                                                int shift, int touch) {
  WebRuntime* runtime = the_runtime;
  if (!runtime) return;
  std::optional<InputEvent> event;
  if (kind == 0) {
    event = PointerMove(x, y, Viewport{0, 0, width, height}, runtime->scale());
    if (event) {
      event->button = static_cast<int16_t>((buttons & 1) | (buttons & 2) | ((buttons & 4) ? 4 : 0));
      event->shift = static_cast<int16_t>(shift);
    }
  } else if (kind == 1) {
    event = runtime->clicks().Press(
        time_ms, x, y, touch ? WebClicks::kDoubleTapDistance : WebClicks::kDoubleClickDistance);
  } else {
    event = runtime->clicks().Release();
  }
  if (event) runtime->Queue(*event);
}

// A key code from the page's buttons, as if its key were pressed.
extern "C" EMSCRIPTEN_KEEPALIVE void vk_key(int code) {
  if (!the_runtime) return;
  InputEvent key{InputEvent::Type::kKeyPress};
  key.key = static_cast<int16_t>(code);
  the_runtime->Queue(key);
}

void WebRuntime::Start(FormEvents& form, std::function<void()> step) {
  // The browser decodes each holder's slide off the main thread and keeps it (Module.vkSlides).
  // The window opens with the first, as loading shows it first, drawn a frame before the
  // player's frames begin; the other 23 are asked for only then, so that they do not hold it up.
  std::vector<uint32_t> jpegs;  // where each JPEG lies in the module's memory, and its length
  for (const auto& jpeg : layout_.holder_jpegs) {
    jpegs.push_back(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(jpeg.data())));
    jpegs.push_back(static_cast<uint32_t>(jpeg.size()));
  }
  // clang-format off
  EM_ASM({
    const count = $1;
    const width = $2;
    const height = $3;
    const jpegs = HEAPU32.slice($0 >> 2, ($0 >> 2) + 2 * count);
    Module.vkSlides = [];
    const decode = (i) => {
      const at = jpegs[2 * i];
      const length = jpegs[2 * i + 1];
      const decoded = length && typeof createImageBitmap === 'function'
        ? createImageBitmap(new Blob([HEAPU8.subarray(at, at + length)], { type: 'image/jpeg' }))
        : Promise.reject(new Error('no slide'));
      return decoded.then((bitmap) => { Module.vkSlides[i] = bitmap; Module._vk_decoded(i, 1); },
                          () => Module._vk_decoded(i, 0));
    };
    decode(0).then(() => {
      const canvas = document.getElementById('canvas');
      if (canvas && Module.vkSlides[0]) {
        canvas.getContext('2d').drawImage(Module.vkSlides[0], 0, 0, width, height);
      }
      requestAnimationFrame(() => Module._vk_begin());
      for (let i = 1; i < count; ++i) decode(i);
    });
  }, jpegs.data(), kHolders, kSlideWidth, kSlideHeight);
  // clang-format on
  form_ = &form;
  step_ = std::move(step);
  the_runtime = this;
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, this, EM_FALSE, OnKey);
  // The picture's pointer events come from the page's own listeners, through vk_pointer.
  // The caption's runs of spaces, which a page's title would collapse, as no-break spaces.
  std::string title;
  const std::string& caption = layout_.caption;
  for (size_t i = 0; i < caption.size(); ++i) {
    const bool in_run = caption[i] == ' ' && ((i > 0 && caption[i - 1] == ' ') ||
                                              (i + 1 < caption.size() && caption[i + 1] == ' '));
    title += in_run ? "\xC2\xA0" : std::string(1, caption[i]);
  }
  // clang-format off
  EM_ASM({
    document.title = UTF8ToString($0);
    document.getElementById('caption').textContent = UTF8ToString($1);
  }, title.c_str(), caption.c_str());
  // clang-format on
}

// The frames begin, once the window's first picture is drawn or could not be.
extern "C" EMSCRIPTEN_KEEPALIVE void vk_begin() {
  if (the_runtime) the_runtime->Begin();
}

// Holder `i`'s slide is decoded and kept by the page (`ok` 1), or could not be.
extern "C" EMSCRIPTEN_KEEPALIVE void vk_decoded(int i, int ok) {
  if (the_runtime) the_runtime->Decoded(i, ok != 0);
}

void WebRuntime::Begin() { emscripten_request_animation_frame_loop(Frame, this); }

void WebRuntime::Decoded(int i, bool ok) {
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

EM_BOOL WebRuntime::Frame(double time_ms, void* self) {
  return static_cast<WebRuntime*>(self)->RunFrame(time_ms) ? EM_TRUE : EM_FALSE;
}

bool WebRuntime::RunFrame(double time_ms) {
  period_.Frame(time_ms);
  // The frame's own time on the steady clock: the moment it stands for, not when it runs.
  const auto now = SteadyClock::now();
  frame_ = now - std::chrono::duration_cast<SteadyClock::duration>(
                     std::chrono::duration<double, std::milli>(emscripten_get_now() - time_ms));
  const auto to_ms = [&](SteadyClock::time_point t) {
    return time_ms + std::chrono::duration<double, std::milli>(t - frame_).count();
  };
  const auto budget = now + std::chrono::milliseconds(8);
  still_ = false;
  bool shown = false;  // at most one new picture a frame: the one due nearest this frame
  try {
    // A loading step waits, frame by frame, until the browser has settled the slide it takes.
    while (period_.Shows(to_ms(deadline_), time_ms) && !still_ && !shown &&
           (taken_ >= kHolders || settled_[taken_]) && SteadyClock::now() < budget) {
      const PictureRef before = picture1_;
      step_();
      shown = picture1_ != before;
    }
  } catch (const ProgramEnd&) {
    End(0, "The player has ended.");
    return false;
  } catch (const RuntimeError& e) {
    const std::string text = "Run-time error '" + std::to_string(e.number()) + "': " + e.what();
    std::fprintf(stderr, "%s\n", text.c_str());
    End(1, text);
    return false;
  }
  if (dirty_ && !EM_ASM_INT({ return document.hidden ? 1 : 0; })) Draw();
  if (taken_ == kHolders) RemoveProgress();  // the loading is over: the loop runs
  return true;
}

PictureRef WebRuntime::HolderPicture(std::string_view holder) {
  const int i = HolderIndex(holder);
  if (i >= 0) taken_ = std::max(taken_, i + 1);
  PictureRef picture = i < 0 ? nullptr : holders_[i];
  if (!picture) throw NoPictureError(std::string(holder));
  return picture;
}

int32_t WebRuntime::SetPicture(PictureRef picture) {
  if (picture != picture1_) changed_ = dirty_ = true;
  picture1_ = std::move(picture);
  return 0;
}

// A page held up (a hidden tab) starts again from the frame rather than racing to catch up.
void WebRuntime::Count(uint64_t steps) { deadline_ = count_clock_.Next(frame_, steps); }

void WebRuntime::PumpEvents() {
  std::vector<InputEvent> events;
  events.swap(queued_);
  still_ = events.empty() && !changed_;
  changed_ = false;
  for (const InputEvent& event : events) RaiseEvent(*form_, event);
}

void WebRuntime::Draw() {
  dirty_ = false;
  if (!picture1_ || picture1_->format != Picture::Format::kHeldByScreen) return;
  const Picture& p = *picture1_;
  // clang-format off
  EM_ASM({
    const canvas = document.getElementById('canvas');
    if (canvas) canvas.getContext('2d').drawImage(Module.vkSlides[$0], 0, 0, $1, $2);
  }, p.stride[0], p.width, p.height);
  // clang-format on
}

int32_t WebRuntime::HideWindow() {
  EM_ASM({ document.getElementById('canvas').style.visibility = 'hidden'; });
  return 0;
}

void WebRuntime::EndProgram() { throw ProgramEnd{}; }

// A page cannot close its tab: the loop stops, and the picture gives way to what happened and a
// button that starts the player again.
void WebRuntime::RemoveProgress() {
  if (progress_removed_) return;
  progress_removed_ = true;
  EM_ASM({
    const bar = document.getElementById('progress');
    if (bar) bar.remove();
  });
}

void WebRuntime::End(int status, const std::string& message) {
  the_runtime = nullptr;
  RemoveProgress();
  // clang-format off
  EM_ASM({
    const ended = document.createElement('div');
    ended.id = 'ended';
    const line = document.createElement('p');
    line.textContent = UTF8ToString($0);
    const again = document.createElement('button');
    again.textContent = 'Play again';
    again.addEventListener('click', () => location.reload());
    ended.append(line, again);
    document.getElementById('canvas').replaceWith(ended);
    again.focus();
    document.body.dataset.exitStatus = String($1);
    if ($1 != 0) console.error(UTF8ToString($0));
  }, message.c_str(), status);
  // clang-format on
}

}  // namespace vk
