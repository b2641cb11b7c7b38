// The player's commands as its legend lists them: written once for --help and for the page.
#pragma once

#include <array>

namespace vk {

struct LegendLine {
  const char* keys;       // on a desktop
  const char* page_keys;  // on a page; null where a page has no such command
  const char* meaning;
  const char* more;  // said after the meaning in --help only, its lines apart; or null
};

inline constexpr std::array<LegendLine, 8> kLegend{{
    {"-", "-", "run backward", nullptr},
    {"+ or ,", "+ ,", "run forward", nullptr},
    {"/", "/", "stop; when stopped, step one slide back", nullptr},
    {"* Space .", "* Space .", "stop; when stopped, step one slide forward", nullptr},
    {"mouse move", "move, drag", "the fastest pace, one slide each screen refresh",
     "the pointer's wait,\nX x 30 x Y counts of 100 ns, is shorter than a refresh on the picture"},
    {"click", "click, tap",
     "mouse mode on or off: each move steps one slide, down forward, up back", nullptr},
    {"F11", nullptr, "full screen on or off", nullptr},
    {"Escape, double click or closing the window", "Esc, double click, double tap", "quit",
     nullptr},
}};

}  // namespace vk
