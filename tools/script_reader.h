// The replay's script, read a line at a time: loading pumps, then playback pumps.
#pragma once

#include <deque>
#include <iosfwd>
#include <string>
#include <vector>

#include "runtime/runtime.h"

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

}  // namespace vk
