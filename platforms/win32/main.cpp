// vorlan-kidney.exe: opens the player's window, built from the description embedded in the
// program.
#include <windows.h>

#include "platforms/win32/win32_runtime.h"
#include "player/vorlan_kidney.h"
#include "presentation/form_table.h"

namespace {

// A problem before the window opens: a message box, as a program without a console has.
int Fail(const std::string& error) {
  MessageBoxA(nullptr, ("vorlan-kidney: " + error).c_str(), "Vorlan Kidney", MB_OK | MB_ICONERROR);
  return 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
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
