// The program's table of forms: its one form and the stored description embedded in the program.
#pragma once

#include <span>

#include "runtime/description.h"

namespace vk {

std::span<const FormTableEntry> FormTable();

}  // namespace vk
