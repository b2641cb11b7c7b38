// End-to-end helpers: a private Xvfb display, the real player process, xdotool and xwd.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace vk::e2e {

// Runs `command` through the shell and returns its standard output.
std::string Shell(const std::string& command);

// An Xvfb server on a free display with a screen of `depth` bits a pixel, which becomes this
// process's DISPLAY.
class XServer {
 public:
  XServer(int width, int height, int depth = 24);
  ~XServer();
  bool ok() const { return pid_ > 0 && !display_.empty(); }
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// The real program, started with the test's DISPLAY; its output goes to `output` where named.
class Player {
 public:
  explicit Player(const std::string& binary, const std::string& output = "");
  ~Player();
  // The player's window id once it is mapped, or empty after `seconds`.
  std::string WaitForWindow(double seconds = 10);
  // The exit status once the process ends within `seconds`.
  std::optional<int> WaitForExit(double seconds);
  // Processor time the process has used so far, user and system, from /proc.
  double CpuSeconds() const;

 private:
  pid_t pid_ = -1;
  bool reaped_ = false;
};

struct Screenshot {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;  // 3 bytes a pixel, rows top to bottom
};

// The window's contents through xwd.
Screenshot Capture(const std::string& window);

// Asks the window to close as a window manager's close button does (WM_DELETE_WINDOW).
void RequestClose(const std::string& window);

}  // namespace vk::e2e
