// The 24 committed slide files: every marker segment of the image format, checked byte by byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<uint8_t> ReadSlide(int k) {
  char name[32];
  std::snprintf(name, sizeof name, "/slide%02d.jpg", k);
  std::ifstream in(std::string(VK_SLIDES_DIR) + name, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

struct Segment {
  uint8_t marker;
  std::vector<uint8_t> body;  // without the length field
};

// The marker segments up to and including the start of scan, then the rest as entropy data.
bool Segments(const std::vector<uint8_t>& f, std::vector<Segment>* out, size_t* scan_end) {
  if (f.size() < 4 || f[0] != 0xFF || f[1] != 0xD8) return false;
  size_t pos = 2;
  for (;;) {
    if (pos + 4 > f.size() || f[pos] != 0xFF) return false;
    const uint8_t marker = f[pos + 1];
    const size_t length = f[pos + 2] << 8 | f[pos + 3];
    if (length < 2 || pos + 2 + length > f.size()) return false;
    out->push_back(
        {marker, std::vector<uint8_t>(f.begin() + pos + 4, f.begin() + pos + 2 + length)});
    pos += 2 + length;
    if (marker == 0xDA) break;
  }
  // Entropy-coded data: FF is followed by 00 (stuffing) until the end-of-image marker.
  while (pos + 1 < f.size() && !(f[pos] == 0xFF && f[pos + 1] != 0x00))
    pos += f[pos] == 0xFF ? 2 : 1;
  *scan_end = pos;
  return true;
}

// The example tables of the JPEG standard, scaled to quality 75, in zig-zag order.
std::vector<uint8_t> Quality75(const int natural[64]) {
  static const int zigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                 12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};
  std::vector<uint8_t> table;
  for (int i = 0; i < 64; ++i)
    table.push_back(static_cast<uint8_t>((natural[zigzag[i]] * 50 + 50) / 100));
  return table;
}

const int kLuminance[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                            14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                            18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                            49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
int kChrominance[64];

TEST(AssetsTest, EverySlideHasTheImageFormat) {
  for (int i = 0; i < 64; ++i) kChrominance[i] = 99;
  const int chroma_top[4][4] = {
      {17, 18, 24, 47}, {18, 21, 26, 66}, {24, 26, 56, 99}, {47, 66, 99, 99}};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) kChrominance[r * 8 + c] = chroma_top[r][c];
  }
  std::vector<uint8_t> dqt0 = {0x00}, dqt1 = {0x01};
  for (uint8_t v : Quality75(kLuminance)) dqt0.push_back(v);
  for (uint8_t v : Quality75(kChrominance)) dqt1.push_back(v);
  ASSERT_EQ(std::vector<uint8_t>(dqt0.begin() + 1, dqt0.begin() + 7),
            (std::vector<uint8_t>{8, 6, 6, 7, 6, 5}));
  ASSERT_EQ(std::vector<uint8_t>(dqt1.begin() + 1, dqt1.begin() + 7),
            (std::vector<uint8_t>{9, 9, 9, 12, 11, 12}));

  // Class and table, then the 16 code-length counts of the four standard tables.
  const std::vector<std::vector<uint8_t>> huffman_heads = {
      {0x00, 0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0},
      {0x10, 0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d},
      {0x01, 0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0},
      {0x11, 0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77}};

  for (int k = 1; k <= 24; ++k) {
    SCOPED_TRACE("slide " + std::to_string(k));
    const std::vector<uint8_t> file = ReadSlide(k);
    std::vector<Segment> segments;
    size_t scan_end = 0;
    ASSERT_TRUE(Segments(file, &segments, &scan_end));
    EXPECT_EQ(scan_end, file.size() - 2);
    EXPECT_EQ(file[file.size() - 2], 0xFF);
    EXPECT_EQ(file[file.size() - 1], 0xD9);

    std::vector<std::vector<uint8_t>> dqts, dhts;
    int sof = 0, app0 = 0;
    for (const Segment& s : segments) {
      switch (s.marker) {
        case 0xE0:  // JFIF 1.01, dots per inch, 96 by 96, no thumbnail
          ++app0;
          EXPECT_EQ(s.body,
                    (std::vector<uint8_t>{'J', 'F', 'I', 'F', 0, 1, 1, 1, 0, 96, 0, 96, 0, 0}));
          break;
        case 0xDB:
          dqts.push_back(s.body);
          break;
        case 0xC4:
          dhts.push_back(s.body);
          break;
        case 0xC0:  // baseline, 8 bits, 768 by 1024, components 1 2x2 q0, 2 1x1 q1, 3 1x1 q1
          ++sof;
          EXPECT_EQ(s.body, (std::vector<uint8_t>{8, 0x03, 0x00, 0x04, 0x00, 3, 1, 0x22, 0, 2, 0x11,
                                                  1, 3, 0x11, 1}));
          break;
        case 0xDA:  // one interleaved scan: components 1, 2, 3 with tables 0/0, 1/1, 1/1
          EXPECT_EQ(s.body, (std::vector<uint8_t>{3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0}));
          break;
        default:
          ADD_FAILURE() << "unexpected marker FF" << std::hex << int(s.marker);
      }
    }
    EXPECT_EQ(app0, 1);
    EXPECT_EQ(sof, 1);
    // Tables may share one segment or stand alone; flatten them.
    std::vector<uint8_t> all_dqt, all_dht;
    for (const auto& t : dqts) all_dqt.insert(all_dqt.end(), t.begin(), t.end());
    for (const auto& t : dhts) all_dht.insert(all_dht.end(), t.begin(), t.end());
    std::vector<uint8_t> want_dqt = dqt0;
    want_dqt.insert(want_dqt.end(), dqt1.begin(), dqt1.end());
    EXPECT_EQ(all_dqt, want_dqt);
    size_t pos = 0;
    for (const auto& head : huffman_heads) {
      ASSERT_LE(pos + head.size(), all_dht.size());
      EXPECT_EQ(std::vector<uint8_t>(all_dht.begin() + pos, all_dht.begin() + pos + head.size()),
                head);
      size_t values = 0;
      for (size_t i = 1; i < head.size(); ++i) values += head[i];
      pos += head.size() + values;
    }
    EXPECT_EQ(pos, all_dht.size());
  }
}

}  // namespace
