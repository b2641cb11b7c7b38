// vorlan-kidney.exe: opens the player's window, built from the description embedded in the
// program.
#include <windows.h>

#include <string>

#include "platforms/win32/win32_screen.h"
#include "player/vorlan_kidney.h"
#include "presentation/form_table.h"
#include "runtime/command_line.h"
#include "runtime/screen_runtime.h"
#include "runtime/slides.h"

namespace {

// A problem before the window opens: a message box, as a program without a console has.
int Fail(const std::string& error) {
  MessageBoxA(nullptr, ("vorlan-kidney: " + error).c_str(), "Vorlan Kidney", MB_OK | MB_ICONERROR);
  return 1;
}

// Windows' own words for the last error, on one line.
std::string LastErrorText() {
  const DWORD code = GetLastError();
  char text[256] = {};
  DWORD size = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                              code, 0, text, sizeof text, nullptr);
  while (size > 0 && (text[size - 1] == '\n' || text[size - 1] == '\r' || text[size - 1] == '.'))
    text[--size] = '\0';
  return size > 0 ? text : "error " + std::to_string(code);
}

// The answer to --help, --version or an unknown argument: on the standard handle where the
// caller redirected it, else in the console of the command prompt that started the program, else
// (started from the desktop) in a message box. Returns the exit status: the answer's own, or 1
// when a redirected output did not take the text.
int Answer(const vk::CommandLineAnswer& answer) {
  const DWORD which = answer.to_error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
  HANDLE out = GetStdHandle(which);
  DWORD written = 0;
  const auto size = static_cast<DWORD>(answer.text.size());
  if (out && out != INVALID_HANDLE_VALUE) {
    if (WriteFile(out, answer.text.data(), size, &written, nullptr) && written == size)
      return answer.status;
    if (answer.to_error) return answer.status;
    const std::string line = vk::AnswerNotWritten(LastErrorText());
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error && error != INVALID_HANDLE_VALUE)
      WriteFile(error, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return 1;
  }
  if (AttachConsole(ATTACH_PARENT_PROCESS)) {
    out = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                      nullptr);
    if (out != INVALID_HANDLE_VALUE) {
      WriteFile(out, answer.text.data(), size, &written, nullptr);
      CloseHandle(out);
      return answer.status;
    }
  }
  MessageBoxA(nullptr, answer.text.c_str(), "Vorlan Kidney",
              MB_OK | (answer.to_error ? MB_ICONERROR : MB_ICONINFORMATION));
  return answer.status;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (const vk::CommandLineAnswer answer = vk::ReadCommandLine(__argc, __argv);
      answer.status >= 0) {
    return Answer(answer);
  }
  std::string error;
  vk::WindowLayout layout;
  if (!vk::BuildWindow(vk::FormTable()[0], &layout, &error)) return Fail(error);
  // Slides decode on a worker while the window comes up; loading waits only for the one it takes.
  vk::SlidePictures pictures(layout.holder_jpegs, vk::SlidePictures::kOnWorker);
  vk::Win32Screen screen(layout);
  if (!screen.Open(&error)) return Fail(error);
  vk::ScreenRuntime runtime(screen, pictures, vk::ScreenRuntime::Pacing::kSleeps);
  vk::VorlanKidney form(runtime);
  return runtime.Run(form);
}
