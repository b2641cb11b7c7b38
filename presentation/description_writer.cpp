// Assembles the stored window description of VorlanKidney around the 24 slide files.
#include "presentation/description_writer.h"

#include <cstring>
#include <string>

#include "presentation/window_definition.h"

namespace vk {
namespace {

namespace d = description;

class Bytes {
 public:
  void U8(uint8_t v) { out.push_back(v); }
  void U16(uint16_t v) { U8(v & 0xff), U8(v >> 8); }
  void U32(uint32_t v) { U16(v & 0xffff), U16(v >> 16); }
  void F32(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    U32(bits);
  }
  void Append(const uint8_t* data, size_t size) { out.insert(out.end(), data, data + size); }
  void Guid(const vk::Guid& g) { Append(g.bytes.data(), g.bytes.size()); }
  void Text(const std::string& s) {
    U16(static_cast<uint16_t>(s.size()));
    Append(reinterpret_cast<const uint8_t*>(s.data()), s.size());
    U8(0);
  }
  void Code(uint8_t code, uint8_t byte) { U8(code), U8(byte); }
  void ControlRect(uint8_t code) {
    U8(code);
    for (int v : {0, 0, window::kWidthTwips, window::kHeightTwips}) U16(static_cast<uint16_t>(v));
  }

  // Opens a record; Close() fills in its length.
  size_t Open(uint8_t id, const std::string& name, uint8_t type) {
    const size_t start = out.size();
    U32(0);
    U8(id);
    U16(static_cast<uint16_t>(name.size()));
    Append(reinterpret_cast<const uint8_t*>(name.data()), name.size());
    U8(0);
    U8(type);
    return start;
  }
  void Close(size_t start) {
    U8(d::kEndOfProperties);
    const auto length = static_cast<uint32_t>(out.size() - start);
    for (int i = 0; i < 4; ++i) out[start + i] = static_cast<uint8_t>(length >> (8 * i));
  }

  std::vector<uint8_t> out;
};

void FormRecord(Bytes& b) {
  const size_t start = b.Open(0, window::kFormName, d::kTypeForm);
  b.U8(d::form::kCaption), b.Text(window::kCaption);
  b.U8(d::form::kI16Setting19), b.U16(3);
  b.Code(d::form::kByteSetting43, 0), b.Code(d::form::kByteSetting22, 0);
  b.U8(d::form::kI32Setting23), b.U32(0xFFFFFFFF);
  b.U8(d::form::kLinkTopic), b.Text(window::kLinkTopic);
  for (uint8_t code : {d::form::kByteSetting26, d::form::kByteSetting27, d::form::kByteSetting28,
                       d::form::kByteSetting32}) {
    b.Code(code, 0);
  }
  b.U8(d::form::kClientRect);
  for (int v : {0, 0, window::kWidthTwips, window::kHeightTwips}) b.U32(static_cast<uint32_t>(v));
  b.Code(d::form::kByteSetting3E, 0), b.Code(d::form::kByteSetting44, 0);
  b.Close(start);
}

void PictureRecord(Bytes& b) {
  const size_t start = b.Open(1, window::kPictureName, d::kTypePictureBox);
  b.ControlRect(d::picture_box::kRect);
  b.U8(d::picture_box::kI16Setting12), b.U16(0);
  b.U8(d::picture_box::kScale), b.U16(0);
  for (float v : {0.0f, 0.0f, window::kScaleWidth, window::kScaleHeight}) b.F32(v);
  b.Code(d::picture_box::kByteSetting43, 0), b.Code(d::picture_box::kByteSetting32, 1);
  b.Close(start);
}

void HolderRecord(Bytes& b, uint8_t id, int slide, const std::vector<uint8_t>& jpeg,
                  JpegSpan* span) {
  const size_t start = b.Open(id, "Image" + std::to_string(slide), d::kTypeImage);
  b.U8(d::image::kPicture);
  b.U32(static_cast<uint32_t>(jpeg.size() + 8));
  b.Append(reinterpret_cast<const uint8_t*>("lt\0\0"), 4);
  b.U32(static_cast<uint32_t>(jpeg.size()));
  *span = {static_cast<uint32_t>(b.out.size()), static_cast<uint32_t>(jpeg.size())};
  b.Append(jpeg.data(), jpeg.size());
  b.ControlRect(d::image::kRect);
  if (slide <= 10) b.Code(d::image::kByteSetting07, 0);
  b.Code(d::image::kVisible, 0);
  if (slide <= 10) b.Code(d::image::kByteSetting0C, 1);
  if (slide <= 2) b.Code(d::image::kByteSetting18, 1);
  b.Close(start);
}

}  // namespace

std::vector<uint8_t> WriteDescription(const std::array<std::vector<uint8_t>, 24>& jpegs,
                                      std::array<JpegSpan, 24>* spans) {
  std::array<JpegSpan, 24> written;
  Bytes b;
  b.U8(0xFF);
  for (uint8_t v : {0xCC, 0x31, 0x00}) b.U8(v);
  b.U8(window::kControls);
  b.Guid(window::kFormId);
  b.Guid(window::kFormInterfaceId);
  b.Guid(d::kFormClassId);
  for (int i = 0; i < 36; ++i) b.U8(0);
  const size_t tree_length_at = b.out.size();
  b.U32(0);

  FormRecord(b);
  b.U8(d::kChildren);
  PictureRecord(b);
  b.U8(d::kChildren);
  for (int position = 0; position < window::kSlides; ++position) {
    if (position > 0) b.U8(d::kSibling);
    const int slide = window::kHolderRecordOrder[position];
    HolderRecord(b, static_cast<uint8_t>(position + 2), slide, jpegs[slide - 1],
                 &written[slide - 1]);
  }
  for (uint8_t marker : {d::kEndOfChildren, d::kEndOfChildren, d::kEnd}) b.U8(marker);

  const auto tree_length = static_cast<uint32_t>(b.out.size() - tree_length_at);
  for (int i = 0; i < 4; ++i)
    b.out[tree_length_at + i] = static_cast<uint8_t>(tree_length >> (8 * i));
  if (spans) *spans = written;
  return std::move(b.out);
}

}  // namespace vk
