// The player in a web page: what the screen runtime needs of it, a canvas and the page's events,
// and the slides as the browser decodes them. This room's C++ alone includes emscripten's headers.
#pragma once

#include <vector>

#include "platforms/web/web_input.h"
#include "runtime/screen.h"
#include "runtime/window.h"

namespace vk {

// The browser decodes the slides off the main thread and keeps them as ImageBitmaps; a holder's
// picture names its bitmap. A page never waits: the loading steps wait, a frame at a time, for
// the slide they take (Ready).
class WebScreen : public Screen, public HolderSource {
 public:
  explicit WebScreen(const WindowLayout& layout) : layout_(layout) {}

  // Names the page, takes its keys and hands the slides to the browser's decoder; the frames
  // begin once the first is on the canvas.
  void Open();

  PictureRef Get(int i) override { return holders_[i]; }
  bool Ready(int i) const override { return settled_[i]; }

  void Poll(Polled& polled) override;
  void WaitForInput(SteadyClock::time_point) override {}
  bool Draw(const PictureRef& picture) override;
  void Present() override {}
  void Hide() override;
  void Ended(int status, const std::string& message) override;
  void Loaded() override;

  // For the page's callbacks.
  void Queue(const InputEvent& event) { queued_.push_back(event); }
  WebClicks& clicks() { return clicks_; }
  const ScaleBlock& scale() const { return layout_.scale; }
  // The browser decoded holder `i`'s slide (`ok`), or could not.
  void Decoded(int i, bool ok);

 private:
  const WindowLayout& layout_;
  std::vector<PictureRef> holders_ = std::vector<PictureRef>(kHolders);
  std::vector<bool> settled_ = std::vector<bool>(kHolders);
  std::vector<InputEvent> queued_;  // handed over by the next poll
  WebClicks clicks_;
};

}  // namespace vk
