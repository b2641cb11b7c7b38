// Build tool: draws the 24 slides of the mechanism with Cairo and encodes them as baseline JPEG.
// Usage: render_slides OUTPUT_DIR   (writes slide01.jpg to slide24.jpg)
#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "presentation/slide_geometry.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace {

using namespace vk::slides;

constexpr double kGrey = 205.0 / 255;

// Traces a cam's roller-centre path, turned by `turn`, as a closed polygon about its pivot.
template <typename Path>
void TracePath(cairo_t* cr, double cx, double cy, double turn, Path path) {
  constexpr int kPoints = 2880;
  for (int i = 0; i < kPoints; ++i) {
    const double theta = 2 * kPi * i / kPoints;
    const double r = path(theta - turn);
    const double x = cx + r * std::cos(theta), y = cy - r * std::sin(theta);
    i == 0 ? cairo_move_to(cr, x, y) : cairo_line_to(cr, x, y);
  }
  cairo_close_path(cr);
}

// The cam itself: the inside of its roller path less every roller disc along it, that is the
// inner envelope of the discs, so the end discs touch its outline wherever they stand.
template <typename Path>
void DrawCam(cairo_t* cr, double cx, double cy, double turn, Path path, double shade) {
  cairo_push_group(cr);
  TracePath(cr, cx, cy, turn, path);
  cairo_set_source_rgb(cr, shade, shade, shade);
  cairo_fill_preserve(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_set_line_width(cr, 2 * kRollerRadius);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
  cairo_pop_group_to_source(cr);
  cairo_paint(cr);
}

void Disc(cairo_t* cr, double x, double y, double radius, double r, double g, double b) {
  cairo_arc(cr, x, y, radius, 0, 2 * kPi);
  cairo_set_source_rgb(cr, r, g, b);
  cairo_fill(cr);
}

// A bar of the yoke between two end points on the horizontal y, each end in a roller disc.
void DrawBar(cairo_t* cr, double left, double right, double y, double thickness, double dot,
             double disc_shade) {
  Disc(cr, left, y, kRollerRadius, disc_shade, disc_shade, disc_shade);
  Disc(cr, right, y, kRollerRadius, disc_shade, disc_shade, disc_shade);
  cairo_rectangle(cr, left, y - thickness / 2, right - left, thickness);
  cairo_set_source_rgb(cr, 1, 0, 0);
  cairo_fill(cr);
  Disc(cr, left, y, dot, 1, 0, 0);
  Disc(cr, right, y, dot, 1, 0, 0);
}

void DrawSlide(cairo_t* cr, int k) {
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  DrawCam(cr, kBigPivotX, kBigPivotY, BigTurn(k), BigPath, kGrey);
  DrawCam(cr, kSmallPivotX, kSmallPivotY, SmallTurn(k), SmallPath, 1.0);
  DrawBar(cr, BigLeftX(k), BigRightX(k), kBigPivotY, 12, 7, kGrey);
  Disc(cr, kBigPivotX, kBigPivotY, 21, 0, 0, 0);
  DrawBar(cr, SmallLeftX(k), SmallRightX(k), kSmallPivotY, 6, 5, 1.0);
  Disc(cr, kSmallPivotX, kSmallPivotY, 10, 0.25, 0.25, 0.25);
  Disc(cr, kSmallPivotX, kSmallPivotY, 7, 1, 1, 1);
}

// Baseline JFIF 1.01 at 96 dpi, quality 75, 4:2:0, standard Huffman tables, one scan.
std::vector<unsigned char> EncodeJpeg(cairo_surface_t* surface) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = kWidth;
  cinfo.image_height = kHeight;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 75, TRUE);
  cinfo.density_unit = 1;
  cinfo.X_density = 96;
  cinfo.Y_density = 96;
  cinfo.optimize_coding = FALSE;
  cinfo.restart_interval = 0;
  jpeg_start_compress(&cinfo, TRUE);

  const unsigned char* pixels = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  std::vector<unsigned char> row(kWidth * 3);
  while (cinfo.next_scanline < cinfo.image_height) {
    const auto* argb = reinterpret_cast<const uint32_t*>(pixels + cinfo.next_scanline * stride);
    for (int x = 0; x < kWidth; ++x) {
      row[3 * x] = (argb[x] >> 16) & 0xff;
      row[3 * x + 1] = (argb[x] >> 8) & 0xff;
      row[3 * x + 2] = argb[x] & 0xff;
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<unsigned char> jpeg(buffer, buffer + size);
  free(buffer);
  return jpeg;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: render_slides OUTPUT_DIR\n");
    return 2;
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  for (int k = 1; k <= kCount; ++k) {
    DrawSlide(cr, k);
    cairo_surface_flush(surface);
    const std::vector<unsigned char> jpeg = EncodeJpeg(surface);
    char name[32];
    std::snprintf(name, sizeof name, "/slide%02d.jpg", k);
    std::ofstream out(argv[1] + std::string(name), std::ios::binary);
    out.write(reinterpret_cast<const char*>(jpeg.data()),
              static_cast<std::streamsize>(jpeg.size()));
    if (!out) {
      std::fprintf(stderr, "render_slides: cannot write %s%s\n", argv[1], name);
      return 1;
    }
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return 0;
}
