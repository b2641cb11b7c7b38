// The stored window description: writer to reader round trip, exact bytes, and every damage.
#include "runtime/description.h"

#include <gtest/gtest.h>

#include <cstring>

#include "presentation/description_writer.h"
#include "presentation/window_definition.h"
#include "runtime/window.h"

namespace vk {
namespace {

// A float's bits, as the description stores them.
uint32_t Bits(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// A tiny stand-in JPEG file per slide: start-of-image, the slide number, end-of-image.
std::array<std::vector<uint8_t>, 24> FakeJpegs() {
  std::array<std::vector<uint8_t>, 24> jpegs;
  for (int i = 0; i < 24; ++i) jpegs[i] = {0xFF, 0xD8, static_cast<uint8_t>(i + 1), 0xFF, 0xD9};
  return jpegs;
}

std::string ReadError(const std::vector<uint8_t>& bytes) {
  WindowDescription description;
  std::string error;
  EXPECT_FALSE(ReadDescription(bytes, &description, &error));
  return error;
}

void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t GetU32(const std::vector<uint8_t>& bytes, size_t at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(bytes[at + i]) << (8 * i);
  return v;
}

size_t Offset(const std::vector<uint8_t>& bytes, std::string_view text) {
  const auto it = std::search(bytes.begin(), bytes.end(), text.begin(), text.end());
  return static_cast<size_t>(it - bytes.begin());
}

// Where the record of the object whose name is `name` starts.
size_t RecordOf(const std::vector<uint8_t>& bytes, const std::string& name) {
  std::string key(1, '\0');
  key[0] = static_cast<char>(name.size());
  key += '\0';
  key += name;
  key += '\0';
  return Offset(bytes, key) - 5;
}

TEST(DescriptionTest, RoundTrip) {
  const std::vector<uint8_t> bytes = WriteDescription(FakeJpegs());
  WindowDescription d;
  std::string error;
  ASSERT_TRUE(ReadDescription(bytes, &d, &error)) << error;
  EXPECT_EQ(d.form_id, window::kFormId);
  EXPECT_EQ(d.interface_id, window::kFormInterfaceId);
  ASSERT_EQ(d.objects.size(), 26u);

  const WindowObject& form = d.objects[0];
  EXPECT_EQ(form.name, "VorlanKidney");
  EXPECT_EQ(form.caption,
            "Vorlan Kidney to Trilobe    Use: SpaceBar + - / * mouse , .      ESC to Quit");
  EXPECT_EQ(form.client.width, 15360);
  EXPECT_EQ(form.client.height, 11520);

  const WindowObject* picture = d.Find("Picture1");
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->id, 1);
  EXPECT_EQ(picture->parent, 0);
  EXPECT_EQ(picture->rect.width, 15360);
  EXPECT_EQ(picture->scale.mode, 0);
  EXPECT_EQ(Bits(picture->scale.width), 0x416E1FF9u);
  EXPECT_EQ(Bits(picture->scale.height), 0x41EEC000u);

  for (int slide = 1; slide <= 24; ++slide) {
    const WindowObject* holder = d.Find("Image" + std::to_string(slide));
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(holder->parent, 1);
    EXPECT_FALSE(holder->visible);
    ASSERT_EQ(holder->jpeg.size(), 5u);
    EXPECT_EQ(holder->jpeg[2], slide);
  }
  // Slides 11, 12 and 13 are stored as 12, 11, 13.
  EXPECT_EQ(d.Find("Image12")->id, 13);
  EXPECT_EQ(d.Find("Image11")->id, 14);
  EXPECT_EQ(d.Find("Image13")->id, 15);
  EXPECT_EQ(d.Find("Image24")->id, 2);
  EXPECT_EQ(d.Find("Image1")->id, 25);
}

TEST(DescriptionTest, HeaderBytes) {
  const std::vector<uint8_t> bytes = WriteDescription(FakeJpegs());
  const uint8_t expected[53] = {0xFF, 0xCC, 0x31, 0x00, 25,
                                // {4C4E2046-5C88-4E8B-9BDD-AC1E304A60DC}
                                0x46, 0x20, 0x4E, 0x4C, 0x88, 0x5C, 0x8B, 0x4E, 0x9B, 0xDD, 0xAC,
                                0x1E, 0x30, 0x4A, 0x60, 0xDC,
                                // {D081BA8A-9331-4A27-9870-1C64E3448A80}
                                0x8A, 0xBA, 0x81, 0xD0, 0x31, 0x93, 0x27, 0x4A, 0x98, 0x70, 0x1C,
                                0x64, 0xE3, 0x44, 0x8A, 0x80,
                                // {33AD4F3A-6699-11CF-B70C-00AA0060D393}
                                0x3A, 0x4F, 0xAD, 0x33, 0x99, 0x66, 0xCF, 0x11, 0xB7, 0x0C, 0x00,
                                0xAA, 0x00, 0x60, 0xD3, 0x93};
  ASSERT_GT(bytes.size(), 93u);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 53),
            std::vector<uint8_t>(expected, expected + 53));
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 53, bytes.begin() + 89), std::vector<uint8_t>(36));
  EXPECT_EQ(GetU32(bytes, 89), bytes.size() - 89);
  // The tree closes with 02 02 04.
  EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 3, bytes.end()), (std::vector<uint8_t>{2, 2, 4}));
}

TEST(DescriptionTest, HolderRecordBytes) {
  const std::vector<uint8_t> bytes = WriteDescription(FakeJpegs());
  const size_t at = RecordOf(bytes, "Image1");
  const std::vector<uint8_t> expected = {
      51,   0,  0,    0,                               // record length
      25,                                              // identifier
      6,    0,  'I',  'm', 'a',  'g',  'e',  '1',  0,  // name
      24,                                              // type: image
      0x02, 13, 0,    0,   0,    'l',  't',  0,    0,
      5,    0,  0,    0,   0xFF, 0xD8, 1,    0xFF, 0xD9,  // picture
      0x03, 0,  0,    0,   0,    0x00, 0x3C, 0x00, 0x2D,  // 0, 0, 15360, 11520
      0x07, 0,  0x08, 0,   0x0C, 1,    0x18, 1,           // settings; 0x08 0: not visible
      0xFF};
  ASSERT_LE(at + expected.size(), bytes.size());
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + at, bytes.begin() + at + expected.size()),
            expected);
  // Image1 is the last record: then 02 02 04.
  EXPECT_EQ(at + expected.size() + 3, bytes.size());
  // The rectangle's 16-bit values are signed: a control left of its parent's edge stays there.
  std::vector<uint8_t> moved = bytes;
  moved[at + 34] = 0xF1, moved[at + 35] = 0xFF;
  WindowDescription description;
  std::string error;
  ASSERT_TRUE(ReadDescription(moved, &description, &error)) << error;
  EXPECT_EQ(description.Find("Image1")->rect.left, -15);
}

TEST(DescriptionTest, EveryCutIsRefused) {
  const std::vector<uint8_t> bytes = WriteDescription(FakeJpegs());
  for (size_t n = 0; n < bytes.size(); ++n) {
    const std::string error = ReadError(std::vector<uint8_t>(bytes.begin(), bytes.begin() + n));
    EXPECT_EQ(error.rfind("window description: byte ", 0), 0u) << n << ": " << error;
  }
}

TEST(DescriptionTest, UnknownCodesAndTypesAreSkippedByLength) {
  std::vector<uint8_t> bytes = WriteDescription(FakeJpegs());
  // Give Picture1 an unknown code 0x77 with three bytes of value before its FF.
  const size_t at = RecordOf(bytes, "Picture1");
  const uint32_t length = GetU32(bytes, at);
  bytes.insert(bytes.begin() + at + length - 1, {0x77, 1, 2, 3});
  PutU32(bytes, at, length + 4);
  // And turn Image5 into an object of an unknown type.
  bytes[RecordOf(bytes, "Image5") + 4 + 1 + 2 + 6 + 1] = 99;
  PutU32(bytes, 89, static_cast<uint32_t>(bytes.size() - 89));

  WindowDescription d;
  std::string error;
  ASSERT_TRUE(ReadDescription(bytes, &d, &error)) << error;
  EXPECT_EQ(Bits(d.Find("Picture1")->scale.width), 0x416E1FF9u);
  EXPECT_EQ(d.Find("Image5")->type, 99);
  EXPECT_TRUE(d.Find("Image5")->jpeg.empty());
  EXPECT_EQ(d.Find("Image6")->jpeg[2], 6);
}

struct Damage {
  const char* what;
  void (*apply)(std::vector<uint8_t>&);
  const char* message;
};

TEST(DescriptionTest, EachDamageHasItsMessage) {
  static const Damage damages[] = {
      {"first byte", [](auto& b) { b[0] = 0; },
       "byte 0: not a window description: first byte is not FF"},
      {"class", [](auto& b) { b[40] ^= 1; }, "byte 37: class identifier is not a form's"},
      {"reserved", [](auto& b) { b[60] = 1; }, "byte 60: reserved byte is not zero"},
      {"tree length", [](auto& b) { PutU32(b, 89, 5); }, "byte 89: tree length 5 does not match"},
      {"control count", [](auto& b) { b[4] = 24; },
       "byte 4: header counts 24 controls, the tree holds 25"},
      {"short record", [](auto& b) { PutU32(b, 93, 3); }, "byte 93: record length 3 is too short"},
      {"long record", [](auto& b) { PutU32(b, 93, 1u << 30); },
       "byte 93: record length 1073741824 runs past the end"},
      {"record end", [](auto& b) { PutU32(b, 93, GetU32(b, 93) - 1); },
       "record does not end with FF"},
      {"record longer than its properties",
       [](auto& b) {
         const size_t at = RecordOf(b, "Image1");
         b.insert(b.begin() + at + GetU32(b, at), 0xFF);
         PutU32(b, at, GetU32(b, at) + 1);
         PutU32(b, 89, static_cast<uint32_t>(b.size() - 89));
       },
       "does not match its properties' end"},
      {"identifier", [](auto& b) { b[RecordOf(b, "Picture1") + 4] = 7; },
       "object identifier 7, expected 1"},
      {"name length", [](auto& b) { b[RecordOf(b, "Picture1") + 5] = 200; },
       "object name cut short"},
      {"name end", [](auto& b) { b[RecordOf(b, "Picture1") + 15] = 'x'; },
       "object name is not followed by a zero byte"},
      {"duplicate", [](auto& b) { b[RecordOf(b, "Image2") + 12] = '3'; },
       "a second object named Image3"},
      {"caption end", [](auto& b) { b[Offset(b, "ESC to Quit") + 11] = 'x'; },
       "text is not followed by a zero byte"},
      {"stream signature", [](auto& b) { b[Offset(b, "lt")] = 'X'; },
       "picture stream signature is not \"lt\""},
      {"image length", [](auto& b) { b[Offset(b, "lt") + 4] = 4; },
       "image length 4 does not match the stream length 13"},
      {"stream length", [](auto& b) { b[Offset(b, "lt") - 4] = 7; },
       "picture stream length 7 is too short"},
      {"not a JPEG", [](auto& b) { b[Offset(b, "lt") + 8] = 0; },
       "picture is not a JPEG file: no start-of-image marker"},
      {"no end of image", [](auto& b) { b[Offset(b, "lt") + 12] = 0; },
       "JPEG file does not end with an end-of-image marker"},
      {"marker", [](auto& b) { b[b.size() - 1] = 9; }, "unknown structure marker 09"},
      {"open lists",
       [](auto& b) {
         b[b.size() - 2] = 4;
         b.pop_back();
         PutU32(b, 89, static_cast<uint32_t>(b.size() - 89));
       },
       "end marker 04 with 1 list(s) of children still open"},
      {"stray bytes",
       [](auto& b) {
         b.push_back(0);
         PutU32(b, 89, static_cast<uint32_t>(b.size() - 89));
       },
       "1 stray bytes after the end marker"},
      {"closes nothing",
       [](auto& b) {
         b[b.size() - 1] = 2;
         b.push_back(4);
         PutU32(b, 89, static_cast<uint32_t>(b.size() - 89));
       },
       "marker 02 closes no list of children"},
      {"sibling of the form", [](auto& b) { b[RecordOf(b, "Picture1") - 1] = 3; },
       "sibling marker 03 beside the form"},
  };
  const std::vector<uint8_t> good = WriteDescription(FakeJpegs());
  for (const Damage& damage : damages) {
    std::vector<uint8_t> bytes = good;
    damage.apply(bytes);
    const std::string error = ReadError(bytes);
    EXPECT_NE(error.find(damage.message), std::string::npos) << damage.what << ": " << error;
  }
}

TEST(WindowTest, BuildFindsHoldersByNameAndChecksTheForm) {
  const std::vector<uint8_t> bytes = WriteDescription(FakeJpegs());
  WindowLayout layout;
  std::string error;
  ASSERT_TRUE(BuildWindow({window::kFormId, bytes}, &layout, &error)) << error;
  EXPECT_EQ(layout.caption, window::kCaption);
  EXPECT_EQ(layout.picture_rect.height, 11520);
  for (int i = 0; i < 24; ++i) EXPECT_EQ(layout.holder_jpegs[i][2], i + 1);

  EXPECT_FALSE(BuildWindow({window::kFormInterfaceId, bytes}, &layout, &error));
  EXPECT_EQ(error, "window description: form identifier does not match the table of forms");

  std::vector<uint8_t> renamed = bytes;
  renamed[RecordOf(renamed, "Image7") + 12] = '0';  // Image7 becomes Image0
  EXPECT_FALSE(BuildWindow({window::kFormId, renamed}, &layout, &error));
  EXPECT_EQ(error, "window description: no image holder Image7 in Picture1");
}

TEST(WindowTest, HolderNames) {
  EXPECT_EQ(HolderIndex("Image1"), 0);
  EXPECT_EQ(HolderIndex("Image24"), 23);
  for (const char* name : {"Image0", "Image25", "Image01", "image1", "Image", "Image1x", "",
                           "Image-1", "Picture1", "Image99999999999"}) {
    EXPECT_EQ(HolderIndex(name), -1) << name;
  }
}

}  // namespace
}  // namespace vk
