// vorlan-kidney.exe: opens the player's window, built from the description embedded in the
// program.
#include <windows.h>

#include "platforms/win32/win32_runtime.h"
#include "player/vorlan_kidney.h"
#include "presentation/form_table.h"
#include "runtime/command_line.h"

namespace {

// A problem before the window opens: a message box, as a program without a console has.
int Fail(const std::string& error) {
  MessageBoxA(nullptr, ("vorlan-kidney: " + error).c_str(), "Vorlan Kidney", MB_OK | MB_ICONERROR);
  return 1;
}

// The answer to --help, --version or an unknown argument: on the standard handle where the
// caller redirected it, else in the console of the command prompt that started the program, else
// (started from the desktop) in a message box.
void Answer(const vk::CommandLineAnswer& answer) {
  const DWORD which = answer.to_error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE;
  HANDLE out = GetStdHandle(which);
  DWORD written = 0;
  const auto size = static_cast<DWORD>(answer.text.size());
  if (out && out != INVALID_HANDLE_VALUE &&
      WriteFile(out, answer.text.data(), size, &written, nullptr))
    return;
  if (AttachConsole(ATTACH_PARENT_PROCESS)) {
    out = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                      nullptr);
    if (out != INVALID_HANDLE_VALUE) {
      WriteFile(out, answer.text.data(), size, &written, nullptr);
      CloseHandle(out);
      return;
    }
  }
  MessageBoxA(nullptr, answer.text.c_str(), "Vorlan Kidney",
              MB_OK | (answer.to_error ? MB_ICONERROR : MB_ICONINFORMATION));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (const vk::CommandLineAnswer answer = vk::ReadCommandLine(__argc, __argv);
      answer.status >= 0) {
    Answer(answer);
    return answer.status;
  }
  std::string error;
  vk::WindowLayout layout;
  if (!vk::BuildWindow(vk::FormTable()[0], &layout, &error)) return Fail(error);
  // Slides decode on a worker while the window comes up; loading waits only for the one it takes.
  vk::SlidePictures pictures(layout.holder_jpegs, vk::SlidePictures::kOnWorker);
  vk::Win32Runtime runtime(layout, pictures);
  if (!runtime.Open(&error)) return Fail(error);
  vk::VorlanKidney form(runtime);
  try {
    runtime.Activate(form);
  } catch (const vk::ProgramEnd&) {
    return 0;
  } catch (const vk::RuntimeError& e) {
    runtime.ReportError(e);
    return 1;
  }
  return 0;
}
