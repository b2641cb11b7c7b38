// The player in a web page: the page's events in, Picture1's picture out on a canvas.
#include "platforms/web/web_runtime.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>

#include "runtime/viewport.h"

namespace vk {

namespace {

constexpr char kCanvas[] = "#canvas";

EM_BOOL OnKey(int, const EmscriptenKeyboardEvent* e, void* data) {
  const auto code = WebKeyCode(e->key, e->ctrlKey || e->altKey || e->metaKey);
  if (!code) return EM_FALSE;  // the browser's: F5, F11, Ctrl+R ...
  InputEvent key{InputEvent::Type::kKeyPress};
  key.key = *code;
  static_cast<WebRuntime*>(data)->Queue(key);
  return EM_TRUE;  // taken: Space does not scroll the page
}

EM_BOOL OnMouse(int type, const EmscriptenMouseEvent* e, void* data) {
  auto* runtime = static_cast<WebRuntime*>(data);
  double width = 0, height = 0;
  emscripten_get_element_css_size(kCanvas, &width, &height);
  std::optional<InputEvent> event;
  if (type == EMSCRIPTEN_EVENT_MOUSEMOVE) {
    // The canvas is the picture, scaled by the page: the border around it is no part of it.
    event = PointerMove(e->targetX, e->targetY, Viewport{0, 0, width, height}, runtime->scale());
    if (event) {
      event->button =
          static_cast<int16_t>((e->buttons & 1) | (e->buttons & 2) | ((e->buttons & 4) ? 4 : 0));
      event->shift =
          static_cast<int16_t>((e->shiftKey ? 1 : 0) | (e->ctrlKey ? 2 : 0) | (e->altKey ? 4 : 0));
    }
  } else if (e->button == 0 && type == EMSCRIPTEN_EVENT_MOUSEDOWN) {
    event = runtime->clicks().Press(e->timestamp, e->targetX, e->targetY);
  } else if (e->button == 0 && type == EMSCRIPTEN_EVENT_MOUSEUP) {
    event = runtime->clicks().Release();
  }
  if (event) runtime->Queue(*event);
  return EM_FALSE;
}

}  // namespace

void WebRuntime::Start(FormEvents& form, std::function<void()> step) {
  form_ = &form;
  step_ = std::move(step);
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, this, EM_FALSE, OnKey);
  emscripten_set_mousemove_callback(kCanvas, this, EM_FALSE, OnMouse);
  emscripten_set_mousedown_callback(kCanvas, this, EM_FALSE, OnMouse);
  emscripten_set_mouseup_callback(kCanvas, this, EM_FALSE, OnMouse);
  // The caption's runs of spaces, which a page's title would collapse, as no-break spaces.
  std::string title;
  const std::string& caption = layout_.caption;
  for (size_t i = 0; i < caption.size(); ++i) {
    const bool in_run = caption[i] == ' ' && ((i > 0 && caption[i - 1] == ' ') ||
                                              (i + 1 < caption.size() && caption[i + 1] == ' '));
    title += in_run ? "\xC2\xA0" : std::string(1, caption[i]);
  }
  EM_ASM({ document.title = UTF8ToString($0); }, title.c_str());
  deadline_ = SteadyClock::now();
  emscripten_set_main_loop_arg(Frame, this, 0, EM_FALSE);  // once per animation frame
}

void WebRuntime::Frame(void* self) { static_cast<WebRuntime*>(self)->RunFrame(); }

void WebRuntime::RunFrame() {
  const auto now = SteadyClock::now();
  // A page held up (a hidden tab) starts again from now rather than racing to catch up.
  if (now - deadline_ > std::chrono::milliseconds(100)) deadline_ = now;
  const auto budget = now + std::chrono::milliseconds(8);
  still_ = false;
  bool shown = false;  // at most one new picture a frame
  try {
    while (deadline_ <= SteadyClock::now() && !still_ && !shown && SteadyClock::now() < budget) {
      const PictureRef before = picture1_;
      step_();
      shown = picture1_ != before;
    }
  } catch (const ProgramEnd&) {
    return End(0, "The player has ended. Reload the page to start it again.");
  } catch (const RuntimeError& e) {
    const std::string text = "Run-time error '" + std::to_string(e.number()) + "': " + e.what();
    std::fprintf(stderr, "%s\n", text.c_str());
    return End(1, text);
  }
  if (dirty_ && !EM_ASM_INT({ return document.hidden ? 1 : 0; })) Draw();
}

PictureRef WebRuntime::HolderPicture(std::string_view holder) {
  const int i = HolderIndex(holder);
  PictureRef picture = i < 0 ? nullptr : pictures_.Get(i);  // decodes it now, on demand
  if (!picture) throw NoPictureError(std::string(holder));
  return picture;
}

int32_t WebRuntime::SetPicture(PictureRef picture) {
  if (picture != picture1_) changed_ = dirty_ = true;
  picture1_ = std::move(picture);
  return 0;
}

void WebRuntime::Count(uint64_t steps) { deadline_ = CountDeadline(deadline_, steps); }

void WebRuntime::PumpEvents() {
  std::vector<InputEvent> events;
  events.swap(queued_);
  still_ = events.empty() && !changed_;
  changed_ = false;
  for (const InputEvent& event : events) RaiseEvent(*form_, event);
}

void WebRuntime::Draw() {
  dirty_ = false;
  if (!picture1_ || picture1_->format != Picture::Format::kRgba) return;
  const Picture& p = *picture1_;
  // clang-format off
  EM_ASM({
    const canvas = document.getElementById('canvas');
    const pixels = new Uint8ClampedArray(HEAPU8.buffer, $0, $1 * $2 * 4);
    canvas.getContext('2d').putImageData(new ImageData(pixels, $1, $2), 0, 0);
  }, p.plane[0], p.width, p.height);
  // clang-format on
}

int32_t WebRuntime::HideWindow() {
  EM_ASM({ document.getElementById('canvas').style.visibility = 'hidden'; });
  return 0;
}

void WebRuntime::EndProgram() { throw ProgramEnd{}; }

// A page cannot close its tab: the loop stops and the picture gives way to one line.
void WebRuntime::End(int status, const std::string& message) {
  emscripten_cancel_main_loop();
  // clang-format off
  EM_ASM({
    const line = document.createElement('p');
    line.id = 'ended';
    line.textContent = UTF8ToString($0);
    document.getElementById('canvas').replaceWith(line);
    document.body.dataset.exitStatus = String($1);
    if ($1 != 0) console.error(UTF8ToString($0));
  }, message.c_str(), status);
  // clang-format on
}

}  // namespace vk
