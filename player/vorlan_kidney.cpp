// The form VorlanKidney: loading, the endless playback loop and the four input handlers.
#include "player/vorlan_kidney.h"

#include <string>

namespace vk {

void VorlanKidney::Form_Activate() {
  for (;;) Step();
}

void VorlanKidney::Step() {
  if (loaded_ == kSlides) return PlaybackCycle();
  const int i = loaded_++;
  FrameStore[i] = runtime_.HolderPicture("Image" + std::to_string(i + 1));
  if (i == 0) return ShowPicture(FrameStore[0]);  // slide 1 is on screen while 23 are taken
  runtime_.PumpEvents();
  if (loaded_ == kSlides) {
    n = 1;
    k = 1000000;
    hl = 0;
    updo = 1;
  }
}

void VorlanKidney::PlaybackCycle() {
  // Six tests, each on what the previous ones left; tests 1 to 4 leave n at 1 or 0, so at most
  // one command is taken and test 5 moves at most one slide.
  if (n == -1) {
    l = Mod(l + 23, 24);
    mm = 0;
    m = 1;
    n = 1;
  }
  if (n == 3) {
    l = Mod(l + 1, 24);
    m = 0;
    mm = 1;
    n = 1;
  }
  if (n == -2) {
    l = Mod(l + 23 + m + mm, 24);
    mm = 0;
    m = 0;
    n = 0;
  }
  if (n == 2) {
    l = Mod(l + 1 - m - mm, 24);
    mm = 0;
    m = 0;
    n = 0;
  }
  if (n != 0 && m == 0) l = Mod(l + n, 24);
  if (m == 1) l = Mod(l + 23, 24);

  const int32_t index = (hl * 24 + l).ToInt32();
  if (index < 0 || index >= kSlides) throw RuntimeError(kSubscript, "Subscript out of range");
  ShowPicture(FrameStore[index]);
  WaitCycle();
}

void VorlanKidney::ShowPicture(const PictureRef& picture) {
  const int32_t result = runtime_.SetPicture(picture);
  if (result < 0) throw RuntimeError(result, "Method 'Picture' of object 'Picture1' failed");
}

// The player's only pacing: a busy count from 0 up to k, then one pump of pending events.
void VorlanKidney::WaitCycle() {
  runtime_.Count(CountSteps(k));
  runtime_.PumpEvents();
}

void VorlanKidney::Quit() {
  const int32_t result = runtime_.HideWindow();
  if (result < 0) throw RuntimeError(result, "Method 'Hide' of object 'VorlanKidney' failed");
  runtime_.EndProgram();
}

void VorlanKidney::Picture1_KeyPress(int16_t& KeyAscii) {
  if (KeyAscii == kKeyEscape) Quit();
  // A code with no single-byte character matches none of the command characters.
  const std::optional<char> c = CharacterOfKeyCode(KeyAscii);
  if (c == '-') n = -1;
  if (c == '+' || c == ',') n = 3;
  if (c == '/') n = -2;
  if (c == '*' || c == ' ' || c == '.') n = 2;
}

void VorlanKidney::Picture1_Click() {
  if (nm == 0) {  // entering mouse mode: save the motion state
    n1 = n;
    mm1 = mm;
    m1 = m;
  }
  nm = Mod(nm + 1, 2);
  if (nm == 0) {  // leaving it: the saved motion resumes from the slide reached
    n = n1;
    mm = mm1;
    m = m1;
  }
}

void VorlanKidney::Picture1_DblClick() { Quit(); }

void VorlanKidney::Picture1_MouseMove(int16_t /*Button*/, int16_t /*Shift*/, float& X, float& Y) {
  if (nm == 0) k = SingleProduct(X, 30, Y);  // normal mode: the pointer sets the pace
  if (nm != 0) {                             // mouse mode: each move steps one slide
    k = 10000;
    n = TypedNumber(Y) >= yyy ? 2 : -2;
    yyy = Y;
  }
}

}  // namespace vk
