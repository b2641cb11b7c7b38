// Replay: runs the real form on the headless runtime from a script of pumps.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "player/player_state.h"
#include "platforms/headless/headless.h"

namespace vk {

struct ReplayScript {
  std::vector<std::vector<InputEvent>> loading;   // at most 23 pumps of the loading sequence
  std::vector<std::vector<InputEvent>> playback;  // pump j ends playback cycle j + 1
};

// Parses a script; on failure returns false and sets `error` to "line N: what is wrong".
bool ParseScript(std::istream& in, ReplayScript* script, std::string* error);

// Runs `script` against the 24 holder pictures, printing one line per picture set; returns the
// exit status: 0 at the script's end or the program's, 1 after a run-time error.
int RunReplay(const ReplayScript& script, std::vector<PictureRef> holders, bool with_state,
              std::ostream& out);

// The 17 fields as "name=V" in declaration order, V one of empty, i16:N, i32:N, f32:%.9g.
std::string FormatState(const PlayerState& state);

}  // namespace vk
