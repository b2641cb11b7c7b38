// Replay: runs the real form on the headless runtime from a script of pumps.
#include "tools/replay.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <istream>
#include <ostream>
#include <string_view>

#include "player/vorlan_kidney.h"

namespace vk {
namespace {

constexpr size_t kLoadingPumps = VorlanKidney::kSlides - 1;

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

// A finite decimal number, rounded once to the nearest single float.
bool ParseCoordinate(std::string_view token, float* value) {
  if (!token.empty() && token[0] == '+') token.remove_prefix(1);
  if (token.find_first_not_of("0123456789+-.eE") != std::string_view::npos) return false;
  const char* end = token.data() + token.size();
  const auto [ptr, ec] = std::from_chars(token.data(), end, *value);
  return ec == std::errc() && ptr == end && std::isfinite(*value);
}

// One event; on failure returns what is wrong with it.
std::string ParseEvent(std::string_view text, InputEvent* event) {
  const std::vector<std::string_view> t = Tokens(text);
  if (t.empty()) return "empty event";
  const std::string name(t[0]);
  auto arguments = [&](size_t count) -> std::string {
    if (t.size() - 1 < count) return "missing argument to '" + name + "'";
    if (t.size() - 1 > count) return "extra argument to '" + name + "'";
    return "";
  };
  std::string problem;
  if (name == "key") {
    event->type = InputEvent::Type::kKeyPress;
    if ((problem = arguments(1)).empty() && !ParseKey(t[1], &event->key)) {
      problem = "key code '" + std::string(t[1]) + "' is not a whole number from -32768 to 32767";
    }
  } else if (name == "move") {
    event->type = InputEvent::Type::kMouseMove;
    if ((problem = arguments(2)).empty()) {
      for (int i = 0; i < 2 && problem.empty(); ++i) {
        if (!ParseCoordinate(t[i + 1], i == 0 ? &event->x : &event->y)) {
          problem = "coordinate '" + std::string(t[i + 1]) + "' is not a finite number";
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
    problem = "unknown event '" + name + "'";
  }
  return problem;
}

std::string FormatValue(const TypedNumber& v) {
  char buffer[32];
  switch (v.kind()) {
    case TypedNumber::Kind::kEmpty:
      return "empty";
    case TypedNumber::Kind::kI16:
      return "i16:" + std::to_string(v.ToInt32());
    case TypedNumber::Kind::kI32:
      return "i32:" + std::to_string(v.ToInt32());
    case TypedNumber::Kind::kF32:
      std::snprintf(buffer, sizeof buffer, "f32:%.9g", v.Value());
      return buffer;
  }
  return "";
}

}  // namespace

bool ParseScript(std::istream& in, ReplayScript* script, std::string* error) {
  *script = ReplayScript();
  bool playing = false;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::string_view text = std::string_view(line).substr(0, line.find('#'));
    const std::vector<std::string_view> tokens = Tokens(text);
    auto fail = [&](const std::string& what) {
      *error = "line " + std::to_string(number) + ": " + what;
      return false;
    };
    if (tokens.empty()) continue;
    if (tokens.size() == 1 && tokens[0] == "play") {
      if (playing) return fail("'play' given twice");
      script->loading = std::move(script->playback);
      script->playback.clear();
      playing = true;
      if (script->loading.size() > kLoadingPumps) {
        return fail("more than 23 loading pump lines before 'play'");
      }
      continue;
    }
    std::vector<InputEvent> pump;
    if (!(tokens.size() == 1 && tokens[0] == "-")) {
      for (std::string_view part : Split(text, ";")) {
        InputEvent event;
        const std::string problem = ParseEvent(part, &event);
        if (!problem.empty()) return fail(problem);
        pump.push_back(event);
      }
    }
    script->playback.push_back(std::move(pump));
  }
  return true;
}

std::string FormatState(const PlayerState& s) {
  const std::pair<const char*, const TypedNumber*> fields[] = {
      {"k", &s.k},   {"l", &s.l},      {"m", &s.m},     {"mm", &s.mm},   {"n", &s.n},
      {"nn", &s.nn}, {"m1", &s.m1},    {"mm1", &s.mm1}, {"n1", &s.n1},   {"st", &s.st},
      {"ke", &s.ke}, {"ke1", &s.ke1},  {"nm", &s.nm},   {"nmm", &s.nmm}, {"yyy", &s.yyy},
      {"hl", &s.hl}, {"updo", &s.updo}};
  std::string text;
  for (const auto& [name, value] : fields) {
    if (!text.empty()) text += ' ';
    text += std::string(name) + "=" + FormatValue(*value);
  }
  return text;
}

int RunReplay(const ReplayScript& script, std::vector<PictureRef> holders, bool with_state,
              std::ostream& out) {
  HeadlessRuntime runtime(std::move(holders));
  VorlanKidney form(runtime);
  runtime.pumps = script.loading;
  runtime.pumps.resize(kLoadingPumps);
  runtime.pumps.insert(runtime.pumps.end(), script.playback.begin(), script.playback.end());
  runtime.pump_limit = runtime.pumps.size();
  runtime.record_shown = false;
  runtime.on_set_picture = [&] {
    out << runtime.HolderIndex(runtime.picture1);
    if (with_state) out << ' ' << FormatState(form);
    out << '\n';
  };
  try {
    runtime.Start(form);
  } catch (const ScriptEnd&) {
  } catch (const ProgramEnd&) {
    out << "end\n";
  } catch (const RuntimeError& e) {
    out << "error " << e.number() << ": " << e.what() << '\n';
    return 1;
  }
  return 0;
}

}  // namespace vk
