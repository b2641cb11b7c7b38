// The replay's script, read a line at a time: loading pumps, then playback pumps, each line's
// events parsed and checked.
#include "tools/script_reader.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <istream>
#include <string_view>

#include "player/vorlan_kidney.h"

namespace vk {
namespace {

constexpr size_t kLoadingPumps = VorlanKidney::kSlides - 1;
// The longest line a script may have once its blanks are run together and its comment dropped:
// a line without end (say, from /dev/zero) is refused here instead of filling the memory.
constexpr size_t kLongestLine = size_t{1} << 20;

// At most 40 bytes of script text for a message, bytes that cannot print as \xNN.
std::string Quote(std::string_view text) {
  constexpr size_t kMost = 40;
  std::string out;
  for (const unsigned char c : text.substr(0, kMost)) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      static constexpr char kHex[] = "0123456789abcdef";
      out += {'\\', 'x', kHex[c >> 4], kHex[c & 15]};
    }
  }
  if (text.size() > kMost) out += "...";
  return "'" + out + "'";
}

std::vector<std::string_view> Split(std::string_view text, std::string_view separators) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || separators.find(text[i]) != std::string_view::npos) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

std::vector<std::string_view> Tokens(std::string_view text) {
  std::vector<std::string_view> tokens;
  for (std::string_view part : Split(text, " \t\r")) {
    if (!part.empty()) tokens.push_back(part);
  }
  return tokens;
}

bool ParseKey(std::string_view token, int16_t* key) {
  int value = 0;
  const char* end = token.data() + token.size();
  const auto [ptr, ec] = std::from_chars(token.data(), end, value);
  if (ec != std::errc() || ptr != end || value < INT16_MIN || value > INT16_MAX) return false;
  *key = static_cast<int16_t>(value);
  return true;
}

// A finite decimal number, rounded once to the nearest single float; one too small for a single
// float rounds to a subnormal or to zero, as any other rounds.
bool ParseCoordinate(std::string_view token, float* value) {
  if (token.find_first_not_of("0123456789+-.eE") != std::string_view::npos) return false;
  // strtof rounds correctly, as from_chars does, and every C++ library has it; its range error
  // for an underflow is no error here, and an overflow gives infinity.
  const std::string text(token);
  char* end = nullptr;
  *value = std::strtof(text.c_str(), &end);
  return !text.empty() && end == text.c_str() + text.size() && std::isfinite(*value);
}

// One event; on failure returns what is wrong with it.
std::string ParseEvent(std::string_view text, InputEvent* event) {
  const std::vector<std::string_view> t = Tokens(text);
  if (t.empty()) return "empty event";
  const std::string name(t[0]);
  auto arguments = [&](size_t count) -> std::string {
    if (t.size() - 1 < count) return "missing argument to " + Quote(name);
    if (t.size() - 1 > count) return "extra argument to " + Quote(name);
    return "";
  };
  std::string problem;
  if (name == "key") {
    event->type = InputEvent::Type::kKeyPress;
    if ((problem = arguments(1)).empty() && !ParseKey(t[1], &event->key)) {
      problem = "key code " + Quote(t[1]) + " is not a whole number from -32768 to 32767";
    }
  } else if (name == "move") {
    event->type = InputEvent::Type::kMouseMove;
    if ((problem = arguments(2)).empty()) {
      for (int i = 0; i < 2 && problem.empty(); ++i) {
        if (!ParseCoordinate(t[i + 1], i == 0 ? &event->x : &event->y)) {
          problem = "coordinate " + Quote(t[i + 1]) + " is not a finite number";
        }
      }
    }
  } else if (name == "click") {
    event->type = InputEvent::Type::kClick;
    problem = arguments(0);
  } else if (name == "dblclick") {
    event->type = InputEvent::Type::kDblClick;
    problem = arguments(0);
  } else {
    problem = "unknown event " + Quote(name);
  }
  return problem;
}

// Reads one line, without its end, into `line`: blanks run together into one space and the comment
// left out, so that neither costs memory. Stops reading at a line longer than kLongestLine.
enum class LineRead { kLine, kEnd, kTooLong };
LineRead ReadScriptLine(std::istream& in, std::string* line) {
  line->clear();
  std::streambuf* const buffer = in.rdbuf();
  bool any = false, comment = false;
  for (;;) {
    int c = buffer->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      in.setstate(std::ios::eofbit);
      return any ? LineRead::kLine : LineRead::kEnd;
    }
    any = true;
    if (c == '\n') return LineRead::kLine;
    if (comment) continue;
    if (c == '#') {
      comment = true;
      continue;
    }
    if (c == ' ' || c == '\t' || c == '\r') {
      if (!line->empty() && line->back() == ' ') continue;
      c = ' ';
    }
    if (line->size() == kLongestLine) return LineRead::kTooLong;
    line->push_back(static_cast<char>(c));
  }
}

}  // namespace

ScriptReader::ScriptReader(std::istream& in) : in_(in) {
  // Lines before a 'play' feed the loading pumps, so look ahead until one comes or there are
  // more lines than loading pumps; without one, every line is a playback pump.
  std::vector<InputEvent> pump;
  for (;;) {
    const Kind kind = ReadLine(&pump);
    if (kind == Kind::kPlay) {
      loading_ = std::move(ahead_);
      ahead_.clear();
      played_ = true;
      return;
    }
    if (kind != Kind::kPump) return;
    ahead_.push_back(std::move(pump));
    if (ahead_.size() > kLoadingPumps) return;
  }
}

ScriptReader::Kind ScriptReader::ReadLine(std::vector<InputEvent>* pump) {
  if (!error_.empty() || ended_) return Kind::kEnd;
  std::string line;
  for (LineRead read; (read = ReadScriptLine(in_, &line)) != LineRead::kEnd;) {
    ++number_;
    if (read == LineRead::kTooLong) {
      return Fail("longer than " + std::to_string(kLongestLine) + " bytes");
    }
    // Editors on Windows start a UTF-8 file with a byte order mark; anywhere else it is no event.
    if (number_ == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    const std::string_view text = line;
    const std::vector<std::string_view> tokens = Tokens(text);
    if (tokens.empty()) continue;
    if (tokens.size() == 1 && tokens[0] == "play") return Kind::kPlay;
    pump->clear();
    if (tokens.size() == 1 && tokens[0] == "-") return Kind::kPump;
    for (std::string_view part : Split(text, ";")) {
      InputEvent event;
      const std::string problem = ParseEvent(part, &event);
      if (!problem.empty()) return Fail(problem);
      pump->push_back(event);
    }
    return Kind::kPump;
  }
  ended_ = true;
  return Kind::kEnd;
}

ScriptReader::Kind ScriptReader::Fail(const std::string& what) {
  error_ = "line " + std::to_string(number_) + ": " + what;
  return Kind::kEnd;
}

bool ScriptReader::Loading(size_t i, std::vector<InputEvent>* pump) {
  if (i >= loading_.size()) return false;
  *pump = std::move(loading_[i]);
  return true;
}

bool ScriptReader::Playback(std::vector<InputEvent>* pump) {
  if (!ahead_.empty()) {
    *pump = std::move(ahead_.front());
    ahead_.pop_front();
    return true;
  }
  switch (ReadLine(pump)) {
    case Kind::kPump:
      return true;
    case Kind::kPlay:
      Fail(played_ ? "'play' given twice" : "more than 23 loading pump lines before 'play'");
      return false;
    case Kind::kEnd:
      return false;
  }
  return false;
}

}  // namespace vk
