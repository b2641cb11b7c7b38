// The program's table of forms: its one form and the stored description embedded in the program.
#include "presentation/form_table.h"

#include "presentation/window_definition.h"

// The description that the build assembles from the slides and embeds, and its length.
extern "C" const uint8_t vk_window_description[];
extern "C" const uint64_t vk_window_description_size;

namespace vk {

std::span<const FormTableEntry> FormTable() {
  static const FormTableEntry table[] = {
      {window::kFormId, {vk_window_description, static_cast<size_t>(vk_window_description_size)}}};
  return table;
}

}  // namespace vk
