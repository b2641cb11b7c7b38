// The player's page: builds the window from the description embedded in the program and starts
// the frames. The page keeps running after main returns.
#include <cstdio>

#include "platforms/web/web_runtime.h"
#include "player/vorlan_kidney.h"
#include "presentation/form_table.h"

int main() {
  static std::string error;
  static vk::WindowLayout layout;
  if (!vk::BuildWindow(vk::FormTable()[0], &layout, &error)) {
    std::fprintf(stderr, "vorlan-kidney: %s\n", error.c_str());
    return 1;
  }
  // The browser decodes the slides and keeps them; the module keeps only their JPEGs.
  static vk::WebRuntime runtime(layout);
  static vk::VorlanKidney form(runtime);
  runtime.Start(form, [] { form.Step(); });
  return 0;
}
