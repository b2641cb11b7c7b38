// The program's table of forms: its one form and the stored description embedded in the program.
#include "presentation/form_table.h"

#include "presentation/window_definition.h"

// Bounds of the description that the build assembles from the slides and embeds.
extern "C" const uint8_t vk_window_description[];
extern "C" const uint8_t vk_window_description_end[];

namespace vk {

std::span<const FormTableEntry> FormTable() {
  static const FormTableEntry table[] = {
      {window::kFormId, {vk_window_description, vk_window_description_end}}};
  return table;
}

}  // namespace vk
