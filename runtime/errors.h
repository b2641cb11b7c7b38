// Run-time errors that pass from the player to the runtime, and the end of the program.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vk {

// Error numbers the player and the runtime raise.
enum ErrorNumber : int32_t {
  kInvalidCall = 5,      // floating-point invalid operation
  kOverflow = 6,         // floating-point or integer overflow
  kSubscript = 9,        // index outside the frame store
  kDivisionByZero = 11,  // Mod by zero
  kInvalidPicture = 481  // a holder without a picture
};

// A run-time error: it leaves every handler and the loop and is reported by the runtime. The
// player never catches one.
class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(int32_t number, const std::string& message)
      : std::runtime_error(message), number_(number) {}
  int32_t number() const { return number_; }

 private:
  int32_t number_;
};

// The error of asking an image holder that has no picture for it.
inline RuntimeError NoPictureError(const std::string& holder) {
  return RuntimeError(kInvalidPicture, "Invalid picture: " + holder);
}

// Thrown by the end-program operation: it unwinds through the handler, the pump and the loop to
// the program's entry, so that nothing of the player runs after it. Not an error.
struct ProgramEnd {};

}  // namespace vk
