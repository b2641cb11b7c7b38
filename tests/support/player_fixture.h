// A loaded form on the headless runtime, with stand-in pictures that know only their holder.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "player/vorlan_kidney.h"
#include "platforms/headless/headless.h"

namespace vk {

inline std::vector<PictureRef> StandInHolders() {
  std::vector<PictureRef> holders;
  for (int i = 0; i < VorlanKidney::kSlides; ++i) holders.push_back(std::make_shared<Picture>());
  return holders;
}

inline InputEvent Key(int16_t code) { return {InputEvent::Type::kKeyPress, code, 0, 0}; }
inline InputEvent Move(float x, float y) { return {InputEvent::Type::kMouseMove, 0, x, y}; }
inline InputEvent Click() { return {InputEvent::Type::kClick, 0, 0, 0}; }
inline InputEvent DblClick() { return {InputEvent::Type::kDblClick, 0, 0, 0}; }

class PlayerTest : public ::testing::Test {
 protected:
  PlayerTest() : runtime(StandInHolders()), form(runtime) {}

  // Runs activation through the loading sequence (with these loading pumps) and the start
  // values, stopping at the first playback cycle's pump.
  void Load(std::vector<std::vector<InputEvent>> loading = {}) {
    loading.resize(23);
    loading.emplace_back();
    runtime.pumps = std::move(loading);
    runtime.pump_limit = runtime.pumps.size();
    EXPECT_THROW(runtime.Start(form), ScriptEnd);
    runtime.pump_limit = UINT64_MAX;
  }

  // Runs one playback cycle after the events of `pump` and returns the index it shows.
  int Cycle(const std::vector<InputEvent>& pump = {}) {
    for (const InputEvent& event : pump) runtime.Raise(event);
    form.PlaybackCycle();
    return runtime.HolderIndex(runtime.picture1);
  }

  HeadlessRuntime runtime;
  VorlanKidney form;
};

}  // namespace vk
