// The window built from its stored description: what the runtimes show and where the slides lie.
#include "runtime/window.h"

#include <charconv>

namespace vk {

int HolderIndex(std::string_view name) {
  constexpr std::string_view kPrefix = "Image";
  if (name.substr(0, kPrefix.size()) != kPrefix) return -1;
  const std::string_view digits = name.substr(kPrefix.size());
  int number = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (ec != std::errc() || end != digits.data() + digits.size() || digits[0] == '0') return -1;
  return number >= 1 && number <= kHolders ? number - 1 : -1;
}

bool BuildWindow(const FormTableEntry& entry, WindowLayout* out, std::string* error) {
  WindowDescription description;
  if (!ReadDescription(entry.description, &description, error)) return false;
  auto fail = [&](const std::string& what) {
    *error = "window description: " + what;
    return false;
  };
  if (!(description.form_id == entry.form_id)) {
    return fail("form identifier does not match the table of forms");
  }
  const WindowObject& form = description.objects[0];
  const WindowObject* picture = description.Find("Picture1");
  if (!picture || picture->type != description::kTypePictureBox || picture->parent != 0) {
    return fail("no picture box Picture1 on the form");
  }
  const int picture_index = static_cast<int>(picture - description.objects.data());
  *out = WindowLayout();
  out->caption = form.caption;
  out->client = form.client;
  out->picture_rect = picture->rect;
  out->scale = picture->scale;
  if (!(out->scale.width > 0 && out->scale.height > 0)) return fail("Picture1 has no scale");
  for (int i = 0; i < kHolders; ++i) {
    const std::string name = "Image" + std::to_string(i + 1);
    const WindowObject* holder = description.Find(name);
    if (!holder || holder->type != description::kTypeImage || holder->parent != picture_index) {
      return fail("no image holder " + name + " in Picture1");
    }
    out->holder_jpegs[i] = holder->jpeg;
  }
  return true;
}

}  // namespace vk
