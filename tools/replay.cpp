// Replay: runs the real form on the headless runtime from a script of pumps.
#include "tools/replay.h"

#include <cstdio>
#include <istream>
#include <ostream>
#include <string_view>

#include "player/vorlan_kidney.h"

namespace vk {
namespace {

constexpr size_t kLoadingPumps = VorlanKidney::kSlides - 1;

// The output could not be written: the run stops there.
struct WriteFailed {};

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

int RunReplay(std::istream& script, std::vector<PictureRef> holders, bool with_state,
              std::ostream& out, std::string* error) {
  ScriptReader reader(script);
  HeadlessRuntime runtime(std::move(holders));
  VorlanKidney form(runtime);
  // One playback line is read ahead, so that the runtime knows which pump is the script's last.
  std::vector<InputEvent> next;
  bool has_next = reader.Playback(&next);
  runtime.next_pump = [&](uint64_t index, std::vector<InputEvent>* pump) {
    if (index < kLoadingPumps) {
      if (!reader.Loading(index, pump)) pump->clear();
      return index + 1 < kLoadingPumps || has_next;
    }
    *pump = std::move(next);
    has_next = reader.Playback(&next);
    return has_next;
  };
  runtime.record_shown = false;
  // Each line is flushed, so that a run that is killed shows what it did.
  runtime.on_set_picture = [&] {
    out << runtime.HolderIndex(runtime.picture1);
    if (with_state) out << ' ' << FormatState(form);
    out << '\n' << std::flush;
    if (!out) throw WriteFailed{};
  };
  int status = 0;
  try {
    runtime.Start(form);
  } catch (const ScriptEnd&) {
  } catch (const ProgramEnd&) {
    out << "end\n" << std::flush;
  } catch (const RuntimeError& e) {
    out << "error " << e.number() << ": " << e.what() << '\n' << std::flush;
    status = 1;
  } catch (const WriteFailed&) {
  }
  if (!out) {
    *error = "cannot write the output";
    return 1;
  }
  if (!reader.error().empty()) {
    *error = reader.error();
    return 2;
  }
  return status;
}

}  // namespace vk
