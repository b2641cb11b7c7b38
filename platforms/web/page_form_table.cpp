// The page's table of forms: its one form, whose stored description the page took from the head
// of the program's WebAssembly as it arrived (stream.js), rather than a copy inside the code.
#include <vector>

#include "platforms/web/page_library.h"
#include "presentation/form_table.h"
#include "presentation/window_definition.h"

namespace vk {

std::span<const FormTableEntry> FormTable() {
  static const std::vector<uint8_t> bytes = [] {
    std::vector<uint8_t> out(static_cast<size_t>(vk_page_description_size()));
    if (!out.empty()) vk_page_description_copy(out.data());
    return out;
  }();
  static const FormTableEntry table[] = {{window::kFormId, {bytes.data(), bytes.size()}}};
  return table;
}

}  // namespace vk
