// vorlan-replay: shows what the player does with a script of input events, without a display.
#include <cstring>
#include <iostream>

#include "presentation/form_table.h"
#include "runtime/slides.h"
#include "runtime/window.h"
#include "tools/replay.h"

int main(int argc, char** argv) {
  bool with_state = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--state") == 0) {
      with_state = true;
    } else {
      std::cerr << "usage: vorlan-replay [--state] < SCRIPT\n";
      return 2;
    }
  }
  vk::ReplayScript script;
  std::string error;
  if (!vk::ParseScript(std::cin, &script, &error)) {
    std::cerr << "vorlan-replay: " << error << '\n';
    return 2;
  }
  vk::WindowLayout window;
  if (!vk::BuildWindow(vk::FormTable()[0], &window, &error)) {
    std::cerr << "vorlan-replay: " << error << '\n';
    return 1;
  }
  vk::SlidePictures pictures(window.holder_jpegs, /*background=*/false);
  std::vector<vk::PictureRef> holders;
  for (int i = 0; i < vk::kHolders; ++i) holders.push_back(pictures.Get(i));
  return vk::RunReplay(script, std::move(holders), with_state, std::cout);
}
