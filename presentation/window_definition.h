// The window VorlanKidney as its stored description defines it: identifiers, caption, geometry.
#pragma once

#include <cstdint>

#include "runtime/description.h"

namespace vk::window {

// Generated once for this form: {4C4E2046-5C88-4E8B-9BDD-AC1E304A60DC}.
constexpr Guid kFormId{{0x46, 0x20, 0x4E, 0x4C, 0x88, 0x5C, 0x8B, 0x4E, 0x9B, 0xDD, 0xAC, 0x1E,
                        0x30, 0x4A, 0x60, 0xDC}};
// The form's own interface: {D081BA8A-9331-4A27-9870-1C64E3448A80}.
constexpr Guid kFormInterfaceId{{0x8A, 0xBA, 0x81, 0xD0, 0x31, 0x93, 0x27, 0x4A, 0x98, 0x70, 0x1C,
                                 0x64, 0xE3, 0x44, 0x8A, 0x80}};

constexpr char kFormName[] = "VorlanKidney";
constexpr char kPictureName[] = "Picture1";
// Four spaces before "Use:", six before "ESC".
constexpr char kCaption[] =
    "Vorlan Kidney to Trilobe    Use: SpaceBar + - / * mouse , .      ESC to Quit";
constexpr char kLinkTopic[] = "Form1";

constexpr int kSlides = 24;
constexpr int kControls = 1 + kSlides;
// 1024 by 768 pixels at 15 twips a pixel.
constexpr int32_t kWidthTwips = 15360, kHeightTwips = 11520;
// Picture1's user-defined scale: 0..14.8828058 across (bits 416E1FF9), 0..29.84375 down.
constexpr float kScaleWidth = 14.8828058f;
constexpr float kScaleHeight = 29.84375f;

// Holders in record order: Image24 down to Image14, then 12, 11, 13, then Image10 down to Image1.
constexpr int kHolderRecordOrder[kSlides] = {24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 12,
                                             11, 13, 10, 9,  8,  7,  6,  5,  4,  3,  2,  1};

}  // namespace vk::window
