// A runtime without a display: scripted events, recorded pictures, a count that never sleeps.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "runtime/runtime.h"

namespace vk {

// Thrown when the scripted pumps run out; the program ends without a handler ending it.
struct ScriptEnd {};

// Runs the real form deterministically: pump i delivers pumps[i], in order, one handler at a time.
// After `pump_limit` pumps it throws ScriptEnd. Everything the form asks for is recorded in plain
// members that tests read.
class HeadlessRuntime : public Runtime {
 public:
  // `holders[i]` is the picture of Image(i + 1); a null one makes its holder have no picture.
  explicit HeadlessRuntime(std::vector<PictureRef> holders) : holders_(std::move(holders)) {}

  // Raises the form's activation event; the form's exceptions pass to the caller.
  void Start(FormEvents& form);
  // Raises one event into the form, as a pump would.
  void Raise(const InputEvent& event) { RaiseEvent(*form_, event); }

  PictureRef HolderPicture(std::string_view holder) override;
  int32_t SetPicture(PictureRef picture) override;
  void PumpEvents() override;
  int32_t HideWindow() override;
  [[noreturn]] void EndProgram() override;
  // Adds the count at once, so that any count finishes at once; the total saturates.
  void Count(uint64_t steps) override {
    count_steps = steps > UINT64_MAX - count_steps ? UINT64_MAX : count_steps + steps;
    ++counts;
  }

  // The holder index (0 to 23) whose picture `picture` is, or -1.
  int HolderIndex(const PictureRef& picture) const;

  // Script and failure injection.
  std::vector<std::vector<InputEvent>> pumps;
  uint64_t pump_limit = UINT64_MAX;
  // When set, pump i takes its events from here instead of `pumps`; false says it is the last.
  std::function<bool(uint64_t index, std::vector<InputEvent>* events)> next_pump;
  int32_t set_picture_result = 0;
  int32_t hide_result = 0;
  std::function<void()> on_set_picture;  // called after each picture is set

  // What the form asked for.
  bool record_shown = true;
  std::vector<PictureRef> shown;  // every picture set as Picture1's picture, in order
  PictureRef picture1;            // Picture1's picture now
  uint64_t pump_count = 0;
  uint64_t count_steps = 0;
  uint64_t counts = 0;  // waits asked for
  bool hidden = false;

 private:
  std::vector<PictureRef> holders_;
  FormEvents* form_ = nullptr;
  std::vector<InputEvent> events_;  // the pump's events from next_pump
};

}  // namespace vk
