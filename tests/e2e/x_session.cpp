// End-to-end helpers: a private Xvfb display, the real player process, xdotool and xwd.
#include "tests/e2e/x_session.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "bench/x_probe.h"

namespace vk::e2e {

std::string Shell(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

XServer::XServer(int width, int height, int depth) {
  int fds[2];
  if (pipe(fds) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlive the tests
    close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    const std::string screen =
        std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten",
           "tcp", "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  // Xvfb writes the display number it chose once it accepts connections, then a newline; the
  // pipe stays open until both arrived, or Xvfb fails on writing the second.
  std::string number;
  char c;
  while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) return;
  display_ = ":" + number;
  setenv("DISPLAY", display_.c_str(), 1);
  // What the player needs beside the display (under Wine: a wineserver of this display).
  if (const char* start = std::getenv("VK_E2E_SERVER_START")) Shell(start);
}

XServer::~XServer() {
  if (const char* stop = std::getenv("VK_E2E_SERVER_STOP"); stop && !display_.empty()) Shell(stop);
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
}

Player::Player(const std::string& binary, const std::string& output) {
  pid_ = fork();
  if (pid_ == 0) {
    if (!output.empty()) {
      const int fd = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(fd, STDOUT_FILENO);
      dup2(fd, STDERR_FILENO);
    }
    execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
}

Player::~Player() {
  if (pid_ > 0 && !reaped_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

std::string Player::WaitForWindow(double seconds) {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return "";
  // Windows of players that have ended can still be torn down meanwhile.
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  Window found = 0;
  // By process and name both, so that the window of another player, or of an earlier one still
  // being torn down, is not taken.
  while (!found && std::chrono::steady_clock::now() < deadline) {
    found = bench::FindWindow(d, DefaultRootWindow(d), pid_, "Vorlan Kidney");
    if (!found) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  XCloseDisplay(d);
  return found ? std::to_string(found) : "";
}

std::optional<int> Player::WaitForExit(double seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      reaped_ = true;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return std::nullopt;
}

double Player::CpuSeconds() const { return bench::CpuSeconds(pid_); }

namespace {

uint32_t Big32(const std::string& s, size_t at) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data() + at);
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

}  // namespace

Screenshot Capture(const std::string& window) {
  // XWD: a header of big-endian 32-bit fields, the window name, the colour map, then pixels.
  const std::string xwd = Shell("xwd -silent -id " + window + " 2>/dev/null");
  Screenshot shot;
  if (xwd.size() < 100) return shot;
  const uint32_t header = Big32(xwd, 0), width = Big32(xwd, 16), height = Big32(xwd, 20);
  const uint32_t byte_order = Big32(xwd, 28), bits_per_pixel = Big32(xwd, 44);
  const uint32_t bytes_per_line = Big32(xwd, 48), colours = Big32(xwd, 76);
  const uint32_t masks[3] = {Big32(xwd, 56), Big32(xwd, 60), Big32(xwd, 64)};
  const size_t pixels = header + colours * 12;
  const uint32_t bytes = bits_per_pixel / 8;
  if ((bytes != 4 && bytes != 2) || pixels + size_t{bytes_per_line} * height > xwd.size())
    return shot;
  shot.width = static_cast<int>(width);
  shot.height = static_cast<int>(height);
  shot.rgb.resize(size_t{width} * height * 3);
  // Each channel by its mask, so that 16, 24 and 30-bit screens read alike, scaled to 8 bits.
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const auto* p = reinterpret_cast<const unsigned char*>(xwd.data() + pixels +
                                                             y * bytes_per_line + x * bytes);
      uint32_t value = 0;
      for (uint32_t i = 0; i < bytes; ++i) {
        value |= uint32_t{p[i]} << (byte_order == 0 ? 8 * i : 8 * (bytes - 1 - i));
      }
      for (int c = 0; c < 3; ++c) {
        const uint32_t mask = masks[c];
        if (mask == 0) continue;
        const uint32_t channel = (value & mask) >> std::countr_zero(mask);
        const uint32_t top = mask >> std::countr_zero(mask);
        shot.rgb[(size_t{y} * width + x) * 3 + c] = static_cast<uint8_t>(channel * 255 / top);
      }
    }
  }
  return shot;
}

void RequestClose(const std::string& window) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return;
  // A window that is already gone is the test's failure to report, not a reason to exit.
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = std::strtoul(window.c_str(), nullptr, 10);
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
  XCloseDisplay(display);
}

}  // namespace vk::e2e
