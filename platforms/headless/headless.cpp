// A runtime without a display: scripted events, recorded pictures, a count that never sleeps.
#include "platforms/headless/headless.h"

#include <string>

#include "runtime/window.h"

namespace vk {

void HeadlessRuntime::Start(FormEvents& form) {
  form_ = &form;
  form.Form_Activate();
}

PictureRef HeadlessRuntime::HolderPicture(std::string_view holder) {
  const int i = vk::HolderIndex(holder);  // the member of that name maps pictures to holders
  if (i < 0 || i >= static_cast<int>(holders_.size()) || !holders_[i]) {
    throw NoPictureError(std::string(holder));
  }
  return holders_[i];
}

int32_t HeadlessRuntime::SetPicture(PictureRef picture) {
  if (set_picture_result < 0) return set_picture_result;
  if (record_shown) shown.push_back(picture);
  picture1 = std::move(picture);
  if (on_set_picture) on_set_picture();
  return 0;
}

void HeadlessRuntime::PumpEvents() {
  const uint64_t index = pump_count++;
  if (next_pump) {
    const bool more = next_pump(index, &events_);
    for (const InputEvent& event : events_) Raise(event);
    if (!more) throw ScriptEnd{};
    return;
  }
  if (index < pumps.size()) {
    for (const InputEvent& event : pumps[index]) Raise(event);
  }
  if (pump_count >= pump_limit) throw ScriptEnd{};
}

int32_t HeadlessRuntime::HideWindow() {
  if (hide_result < 0) return hide_result;
  hidden = true;
  return 0;
}

void HeadlessRuntime::EndProgram() { throw ProgramEnd{}; }

int HeadlessRuntime::HolderIndex(const PictureRef& picture) const {
  for (size_t i = 0; i < holders_.size(); ++i) {
    if (picture && holders_[i] == picture) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace vk
