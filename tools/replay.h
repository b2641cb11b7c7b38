// Replay: runs the real form on the headless runtime from a script of pumps.
#pragma once

#include <deque>
#include <iosfwd>
#include <string>
#include <vector>

#include "platforms/headless/headless.h"
#include "player/player_state.h"

namespace vk {

// Reads a script line by line, so that a script of any length takes little memory. Lines before
// a 'play' line (at most 23) are the loading sequence's pumps; the rest are playback pumps.
class ScriptReader {
 public:
  // Reads ahead until the 'play' line, or past the 23 lines that could come before one.
  explicit ScriptReader(std::istream& in);
  // The events of loading pump i (0 to 22); false when the script gives none.
  bool Loading(size_t i, std::vector<InputEvent>* pump);
  // The events of the next playback pump; false at the script's end or at a line that is wrong.
  bool Playback(std::vector<InputEvent>* pump);
  // "line N: what is wrong" once a line did not parse; empty otherwise.
  const std::string& error() const { return error_; }

 private:
  enum class Kind { kPump, kPlay, kEnd };
  Kind ReadLine(std::vector<InputEvent>* pump);
  Kind Fail(const std::string& what);

  std::istream& in_;
  int number_ = 0;
  bool played_ = false;
  bool ended_ = false;
  std::string error_;
  std::deque<std::vector<InputEvent>> loading_;
  std::deque<std::vector<InputEvent>> ahead_;
};

// Runs the script against the 24 holder pictures, printing one line per picture set. Returns the
// exit status: 0 at the script's end or the program's; 1 after a run-time error, or with `error`
// set when the output could not be written; 2 with `error` ("line N: ...") at a line that does
// not parse, after the output of the pumps before it.
int RunReplay(std::istream& script, std::vector<PictureRef> holders, bool with_state,
              std::ostream& out, std::string* error);

// The 17 fields as "name=V" in declaration order, V one of empty, i16:N, i32:N, f32:%.9g.
std::string FormatState(const PlayerState& state);

}  // namespace vk
