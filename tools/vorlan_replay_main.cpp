// vorlan-replay: shows what the player does with a script of input events, without a display.
#include <cstring>
#include <iostream>

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
  std::vector<vk::PictureRef> holders;
  for (int i = 0; i < 24; ++i) holders.push_back(std::make_shared<vk::Picture>());
  return vk::RunReplay(script, std::move(holders), with_state, std::cout);
}
