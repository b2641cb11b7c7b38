// Replay: runs the real form on the headless runtime from a script of pumps.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platforms/headless/headless.h"
#include "player/player_state.h"
#include "tools/script_reader.h"

namespace vk {

// Runs the script against the 24 holder pictures, printing one line per picture set. Returns the
// exit status: 0 at the script's end or the program's; 1 after a run-time error, or with `error`
// set when the output could not be written; 2 with `error` ("line N: ...") at a line that does
// not parse, after the output of the pumps before it.
int RunReplay(std::istream& script, std::vector<PictureRef> holders, bool with_state,
              std::ostream& out, std::string* error);

// The 17 fields as "name=V" in declaration order, V one of empty, i16:N, i32:N, f32:%.9g.
std::string FormatState(const PlayerState& state);

}  // namespace vk
