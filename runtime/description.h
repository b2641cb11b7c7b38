// The stored window description: its byte layout, and the reader that builds the window from it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vk {

// Layout (all integers little-endian, offsets from the start of the description):
//
//   0   1   FF
//   1   3   CC 31 00 (ignored)
//   4   1   number of controls, which is also the highest control identifier
//   5   16  the form's identifier (a GUID; the table of forms repeats it)
//   21  16  the identifier of the form's own interface
//   37  16  class identifier of the form type, {33AD4F3A-6699-11CF-B70C-00AA0060D393}
//   53  36  zero bytes
//   89  4   length of the object tree, counted from this field to the description's last byte
//   93  ... the object tree
//
// The tree is a sequence of object records, each followed by one structure marker: 01 the
// records up to the matching 02 are children of this one; 03 the next record is its sibling;
// 02 closes the current list of children; 04, after the last 02, ends the description.
//
// Object record:
//   0      4  record length, from this field through the closing FF
//   4      1  identifier: 0 for the form, 1, 2, ... for the controls in record order
//   5      2  name length N
//   7      N  name
//   7+N    1  00
//   8+N    1  type: 13 form, 0 picture box, 24 image
//   9+N    .. properties: a one-byte code, then a value whose form the code fixes for the type
//   last   1  FF
//
// Value forms: byte; 16-bit; 32-bit; text (u16 length L, L bytes, 00); picture (u32 length A,
// then "lt" 00 00, u32 length B = A - 8, B bytes of JPEG file from FF D8 to FF D9); control
// rectangle (4 × i16 twips); client rectangle (4 × i32 twips); scale block (i16 mode, 4 × f32).
// A record whose type or a code of which the reader does not know is skipped by its length.

struct Guid {
  std::array<uint8_t, 16> bytes{};  // as stored: Data1, Data2, Data3 little-endian, then Data4
  bool operator==(const Guid&) const = default;
};

namespace description {

constexpr size_t kHeaderSize = 93;
constexpr uint8_t kTypeForm = 13, kTypePictureBox = 0, kTypeImage = 24;
constexpr uint8_t kEndOfProperties = 0xFF;
constexpr uint8_t kChildren = 0x01, kEndOfChildren = 0x02, kSibling = 0x03, kEnd = 0x04;
// {33AD4F3A-6699-11CF-B70C-00AA0060D393} as stored.
constexpr Guid kFormClassId{{0x3A, 0x4F, 0xAD, 0x33, 0x99, 0x66, 0xCF, 0x11, 0xB7, 0x0C, 0x00, 0xAA,
                             0x00, 0x60, 0xD3, 0x93}};

// Property codes, numbered per object type. Settings that the description holds but ties to no
// named setting (none changes what is shown) are named by their value's form and code.
namespace form {
constexpr uint8_t kCaption = 0x01, kLinkTopic = 0x24, kClientRect = 0x35;
constexpr uint8_t kI16Setting19 = 0x19, kI32Setting23 = 0x23;
constexpr uint8_t kByteSetting22 = 0x22, kByteSetting26 = 0x26, kByteSetting27 = 0x27,
                  kByteSetting28 = 0x28, kByteSetting32 = 0x32, kByteSetting3E = 0x3E,
                  kByteSetting43 = 0x43, kByteSetting44 = 0x44;
}  // namespace form
namespace picture_box {
constexpr uint8_t kRect = 0x05, kScale = 0x1A;
constexpr uint8_t kI16Setting12 = 0x12, kByteSetting32 = 0x32, kByteSetting43 = 0x43;
}  // namespace picture_box
namespace image {
constexpr uint8_t kPicture = 0x02, kRect = 0x03, kVisible = 0x08;
constexpr uint8_t kByteSetting07 = 0x07, kByteSetting0C = 0x0C, kByteSetting18 = 0x18;
}  // namespace image

// The form of each code's value; the reader knows these codes and no others.
enum class ValueForm { kByte, kI16, kI32, kText, kPicture, kControlRect, kClientRect, kScale };
struct PropertyCode {
  uint8_t type, code;
  ValueForm form;
};
inline constexpr PropertyCode kPropertyCodes[] = {
    {kTypeForm, form::kCaption, ValueForm::kText},
    {kTypeForm, form::kLinkTopic, ValueForm::kText},
    {kTypeForm, form::kClientRect, ValueForm::kClientRect},
    {kTypeForm, form::kI16Setting19, ValueForm::kI16},
    {kTypeForm, form::kI32Setting23, ValueForm::kI32},
    {kTypeForm, form::kByteSetting22, ValueForm::kByte},
    {kTypeForm, form::kByteSetting26, ValueForm::kByte},
    {kTypeForm, form::kByteSetting27, ValueForm::kByte},
    {kTypeForm, form::kByteSetting28, ValueForm::kByte},
    {kTypeForm, form::kByteSetting32, ValueForm::kByte},
    {kTypeForm, form::kByteSetting3E, ValueForm::kByte},
    {kTypeForm, form::kByteSetting43, ValueForm::kByte},
    {kTypeForm, form::kByteSetting44, ValueForm::kByte},
    {kTypePictureBox, picture_box::kRect, ValueForm::kControlRect},
    {kTypePictureBox, picture_box::kScale, ValueForm::kScale},
    {kTypePictureBox, picture_box::kI16Setting12, ValueForm::kI16},
    {kTypePictureBox, picture_box::kByteSetting32, ValueForm::kByte},
    {kTypePictureBox, picture_box::kByteSetting43, ValueForm::kByte},
    {kTypeImage, image::kPicture, ValueForm::kPicture},
    {kTypeImage, image::kRect, ValueForm::kControlRect},
    {kTypeImage, image::kVisible, ValueForm::kByte},
    {kTypeImage, image::kByteSetting07, ValueForm::kByte},
    {kTypeImage, image::kByteSetting0C, ValueForm::kByte},
    {kTypeImage, image::kByteSetting18, ValueForm::kByte},
};

}  // namespace description

struct Rect {
  int32_t left = 0, top = 0, width = 0, height = 0;  // twips
};

struct ScaleBlock {
  int16_t mode = 0;
  float left = 0, top = 0, width = 0, height = 0;
};

// One object of the window, with the properties the system uses.
struct WindowObject {
  int id = 0;
  std::string name;
  int type = 0;
  int parent = -1;                // index into WindowDescription::objects; -1 for the form
  std::string caption;            // form
  Rect client;                    // form: client area
  Rect rect;                      // controls: position within the parent's inner area
  ScaleBlock scale;               // picture box: its coordinate system
  bool visible = true;            // image
  std::span<const uint8_t> jpeg;  // image: the JPEG file, inside the description's bytes
};

struct WindowDescription {
  Guid form_id;
  Guid interface_id;
  std::vector<WindowObject> objects;  // in record order; the form first

  // The object named `name`, or null.
  const WindowObject* Find(std::string_view name) const;
};

// One entry of the program's table of forms: which form, and where its description lies.
struct FormTableEntry {
  Guid form_id;
  std::span<const uint8_t> description;
};

// Reads `bytes` into `out`. On damage returns false and sets `error` to one line saying at which
// byte offset what is wrong. `out` refers into `bytes`, which must outlive it.
bool ReadDescription(std::span<const uint8_t> bytes, WindowDescription* out, std::string* error);

}  // namespace vk
