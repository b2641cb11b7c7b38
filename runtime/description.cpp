// The description reader: every length, count, marker and bound is checked against the bytes.
#include "runtime/description.h"

#include <cstdio>
#include <cstring>
#include <optional>

namespace vk {
namespace {

namespace d = description;

using Form = d::ValueForm;

// The value form of property `code` on an object of `type`, or nothing for an unknown code.
std::optional<Form> FormOf(int type, uint8_t code) {
  for (const d::PropertyCode& known : d::kPropertyCodes) {
    if (known.type == type && known.code == code) return known.form;
  }
  return std::nullopt;
}

class Reader {
 public:
  Reader(std::span<const uint8_t> bytes, std::string* error) : bytes_(bytes), error_(error) {}

  bool Read(WindowDescription* out) {
    out_ = out;
    return Header() && Tree();
  }

 private:
  // Records `what` as the error at byte `at`; always returns false.
  bool Fail(size_t at, const std::string& what) {
    *error_ = "window description: byte " + std::to_string(at) + ": " + what;
    return false;
  }

  // Whether `count` bytes for `what` lie before `limit`.
  bool Need(size_t count, size_t limit, const char* what) {
    if (limit - pos_ >= count) return true;
    return Fail(pos_, std::string(what) + " cut short: needs " + std::to_string(count) +
                          " bytes, " + std::to_string(limit - pos_) + " left");
  }

  uint8_t U8() { return bytes_[pos_++]; }
  uint16_t U16() {
    const uint16_t v = bytes_[pos_] | bytes_[pos_ + 1] << 8;
    pos_ += 2;
    return v;
  }
  uint32_t U32() {
    const uint32_t v = bytes_[pos_] | bytes_[pos_ + 1] << 8 | bytes_[pos_ + 2] << 16 |
                       static_cast<uint32_t>(bytes_[pos_ + 3]) << 24;
    pos_ += 4;
    return v;
  }
  Guid GuidAt(size_t at) {
    Guid g;
    std::memcpy(g.bytes.data(), bytes_.data() + at, 16);
    return g;
  }

  bool Header() {
    if (bytes_.size() < d::kHeaderSize) {
      return Fail(bytes_.size(), "header cut short: " + std::to_string(bytes_.size()) +
                                     " bytes, needs " + std::to_string(d::kHeaderSize));
    }
    if (bytes_[0] != 0xFF) return Fail(0, "not a window description: first byte is not FF");
    controls_ = bytes_[4];
    out_->form_id = GuidAt(5);
    out_->interface_id = GuidAt(21);
    if (!(GuidAt(37) == d::kFormClassId)) return Fail(37, "class identifier is not a form's");
    for (size_t i = 53; i < 89; ++i) {
      if (bytes_[i] != 0) return Fail(i, "reserved byte is not zero");
    }
    pos_ = 89;
    const uint32_t tree = U32();
    if (tree != bytes_.size() - 89) {
      return Fail(89, "tree length " + std::to_string(tree) + " does not match the " +
                          std::to_string(bytes_.size() - 89) + " bytes from that field on");
    }
    return true;
  }

  bool Tree() {
    std::vector<int> parents;  // open lists of children, innermost last
    if (!Record(-1)) return false;
    if (out_->objects[0].type != d::kTypeForm)
      return Fail(d::kHeaderSize, "first object is not a form");
    for (;;) {
      const size_t at = pos_;
      if (!Need(1, bytes_.size(), "structure marker")) return false;
      const uint8_t marker = U8();
      if (marker == d::kChildren) {
        parents.push_back(static_cast<int>(out_->objects.size()) - 1);
        if (!Record(parents.back())) return false;
      } else if (marker == d::kSibling) {
        if (parents.empty()) return Fail(at, "sibling marker 03 beside the form");
        if (!Record(parents.back())) return false;
      } else if (marker == d::kEndOfChildren) {
        if (parents.empty()) return Fail(at, "marker 02 closes no list of children");
        parents.pop_back();
      } else if (marker == d::kEnd) {
        if (!parents.empty()) {
          return Fail(at, "end marker 04 with " + std::to_string(parents.size()) +
                              " list(s) of children still open");
        }
        break;
      } else {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%02X", marker);
        return Fail(at, std::string("unknown structure marker ") + hex);
      }
    }
    if (pos_ != bytes_.size()) {
      return Fail(pos_, std::to_string(bytes_.size() - pos_) + " stray bytes after the end marker");
    }
    const size_t counted = out_->objects.size() - 1;
    if (counted != controls_) {
      return Fail(4, "header counts " + std::to_string(controls_) + " controls, the tree holds " +
                         std::to_string(counted));
    }
    return true;
  }

  bool Record(int parent) {
    const size_t start = pos_;
    if (!Need(4, bytes_.size(), "record length")) return false;
    const uint32_t length = U32();
    if (length < 10)
      return Fail(start, "record length " + std::to_string(length) + " is too short");
    if (length > bytes_.size() - start) {
      return Fail(start, "record length " + std::to_string(length) + " runs past the end (" +
                             std::to_string(bytes_.size() - start) + " bytes left)");
    }
    const size_t end = start + length;
    if (bytes_[end - 1] != d::kEndOfProperties) return Fail(end - 1, "record does not end with FF");

    WindowObject object;
    object.parent = parent;
    object.id = U8();
    const int expected = static_cast<int>(out_->objects.size());
    if (object.id != expected) {
      return Fail(start + 4, "object identifier " + std::to_string(object.id) + ", expected " +
                                 std::to_string(expected));
    }
    const uint16_t name_length = U16();
    if (!Need(name_length + 2u, end - 1, "object name")) return false;
    object.name.assign(reinterpret_cast<const char*>(&bytes_[pos_]), name_length);
    pos_ += name_length;
    if (U8() != 0) return Fail(pos_ - 1, "object name is not followed by a zero byte");
    if (out_->Find(object.name)) return Fail(start + 7, "a second object named " + object.name);
    object.type = U8();

    // Values are bounded by the record's final FF, so a code is always there to read.
    for (;;) {
      const size_t at = pos_;
      const uint8_t code = U8();
      if (code == d::kEndOfProperties) break;
      const std::optional<Form> form = FormOf(object.type, code);
      if (!form) {
        pos_ = end;  // an unknown type or code: the rest of the record is skipped
        break;
      }
      if (!Property(object, code, *form, end - 1, at)) return false;
    }
    if (pos_ != end) {
      return Fail(start, "record length " + std::to_string(length) +
                             " does not match its properties' end at byte " +
                             std::to_string(pos_ - 1));
    }
    out_->objects.push_back(std::move(object));
    return true;
  }

  bool Property(WindowObject& object, uint8_t code, Form form, size_t limit, size_t at) {
    switch (form) {
      case Form::kByte:
        if (!Need(1, limit, "byte value")) return false;
        if (object.type == d::kTypeImage && code == d::image::kVisible)
          object.visible = U8() != 0;
        else
          pos_ += 1;
        return true;
      case Form::kI16:
        if (!Need(2, limit, "16-bit value")) return false;
        pos_ += 2;
        return true;
      case Form::kI32:
        if (!Need(4, limit, "32-bit value")) return false;
        pos_ += 4;
        return true;
      case Form::kText: {
        if (!Need(2, limit, "text length")) return false;
        const uint16_t length = U16();
        if (!Need(length + 1u, limit, "text")) return false;
        std::string text(reinterpret_cast<const char*>(&bytes_[pos_]), length);
        pos_ += length;
        if (U8() != 0) return Fail(pos_ - 1, "text is not followed by a zero byte");
        if (code == d::form::kCaption) object.caption = std::move(text);
        return true;
      }
      case Form::kControlRect: {
        if (!Need(8, limit, "control rectangle")) return false;
        int32_t v[4];
        for (int32_t& x : v) x = static_cast<int16_t>(U16());
        object.rect = {v[0], v[1], v[2], v[3]};
        return true;
      }
      case Form::kClientRect: {
        if (!Need(16, limit, "client rectangle")) return false;
        int32_t v[4];
        for (int32_t& x : v) x = static_cast<int32_t>(U32());
        object.client = {v[0], v[1], v[2], v[3]};
        return true;
      }
      case Form::kScale: {
        if (!Need(18, limit, "scale block")) return false;
        object.scale.mode = static_cast<int16_t>(U16());
        float* fields[] = {&object.scale.left, &object.scale.top, &object.scale.width,
                           &object.scale.height};
        for (float* f : fields) {
          const uint32_t bits = U32();
          std::memcpy(f, &bits, sizeof bits);
        }
        return true;
      }
      case Form::kPicture:
        return Picture(object, limit, at);
    }
    return true;
  }

  bool Picture(WindowObject& object, size_t limit, size_t at) {
    if (!Need(4, limit, "picture stream length")) return false;
    const uint32_t stream = U32();
    if (stream < 8)
      return Fail(at + 1, "picture stream length " + std::to_string(stream) + " is too short");
    if (!Need(stream, limit, "picture stream")) return false;
    const size_t stream_start = pos_;
    if (std::memcmp(&bytes_[pos_], "lt\0\0", 4) != 0) {
      return Fail(pos_, "picture stream signature is not \"lt\"");
    }
    pos_ += 4;
    const uint32_t file = U32();
    if (file != stream - 8) {
      return Fail(pos_ - 4, "image length " + std::to_string(file) +
                                " does not match the stream length " + std::to_string(stream));
    }
    const uint8_t* jpeg = &bytes_[pos_];
    if (file < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) {
      return Fail(pos_, "picture is not a JPEG file: no start-of-image marker");
    }
    if (jpeg[file - 2] != 0xFF || jpeg[file - 1] != 0xD9) {
      return Fail(pos_ + file - 2, "JPEG file does not end with an end-of-image marker");
    }
    object.jpeg = std::span<const uint8_t>(jpeg, file);
    pos_ = stream_start + stream;
    return true;
  }

  std::span<const uint8_t> bytes_;
  std::string* error_;
  WindowDescription* out_ = nullptr;
  size_t pos_ = 0;
  size_t controls_ = 0;
};

}  // namespace

const WindowObject* WindowDescription::Find(std::string_view name) const {
  for (const WindowObject& object : objects) {
    if (object.name == name) return &object;
  }
  return nullptr;
}

bool ReadDescription(std::span<const uint8_t> bytes, WindowDescription* out, std::string* error) {
  *out = WindowDescription();
  return Reader(bytes, error).Read(out);
}

}  // namespace vk
