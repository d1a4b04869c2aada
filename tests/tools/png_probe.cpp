// Checks pixels of a PNG file: png_probe FILE PROBES, where PROBES holds
// lines "x y RRGGBB" (hex colour), optionally "size W H", and "ink L T R B
// RRGGBB": some pixel of the rectangle (right and bottom excluded) is not
// that colour, so something is drawn on the background there; blank lines
// and lines starting with # are skipped. Prints one line per mismatch and
// exits 1 when there is any, 2 when a file cannot be read.
#include <png.h>

#include <cctype>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Image {
  unsigned width = 0, height = 0;
  std::vector<unsigned char> rgb; // 3 bytes a pixel
};

bool ReadPng(const char *path, Image &image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path)) return false;
  png.format = PNG_FORMAT_RGB;
  image.width = png.width;
  image.height = png.height;
  image.rgb.resize(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr)) {
    png_image_free(&png);
    return false;
  }
  return true;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: png_probe FILE PROBES\n");
    return 2;
  }
  Image image;
  if (!ReadPng(argv[1], image)) {
    std::fprintf(stderr, "png_probe: cannot read %s\n", argv[1]);
    return 2;
  }
  std::ifstream probes(argv[2]);
  if (!probes) {
    std::fprintf(stderr, "png_probe: cannot read %s\n", argv[2]);
    return 2;
  }
  int failures = 0;
  std::string line;
  int number = 0;
  while (std::getline(probes, line)) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    std::istringstream in(line);
    std::string first;
    in >> first;
    if (first == "size") {
      unsigned w = 0, h = 0;
      in >> w >> h;
      if (w != image.width || h != image.height) {
        std::printf("line %d: size %ux%u, expected %ux%u\n", number, image.width, image.height, w,
                    h);
        ++failures;
      }
      continue;
    }
    if (first == "ink") {
      unsigned l = 0, t = 0, r = 0, b = 0;
      std::string background;
      if (!(in >> l >> t >> r >> b >> background) || background.size() != 6 || r > image.width ||
          b > image.height || l >= r || t >= b) {
        std::printf("line %d: cannot use \"%s\"\n", number, line.c_str());
        ++failures;
        continue;
      }
      const unsigned long bg = std::strtoul(background.c_str(), nullptr, 16);
      bool inked = false;
      for (unsigned y = t; y < b && !inked; ++y)
        for (unsigned x = l; x < r && !inked; ++x) {
          const unsigned char *p = &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
          inked = ((static_cast<unsigned long>(p[0]) << 16) | (p[1] << 8) | p[2]) != bg;
        }
      if (!inked) {
        std::printf("line %d: nothing but %s in (%u, %u)-(%u, %u)\n", number, background.c_str(), l,
                    t, r, b);
        ++failures;
      }
      continue;
    }
    unsigned x = 0, y = 0;
    std::string colour;
    std::istringstream all(line);
    if (!(all >> x >> y >> colour) || colour.size() != 6) {
      std::printf("line %d: cannot read \"%s\"\n", number, line.c_str());
      ++failures;
      continue;
    }
    if (x >= image.width || y >= image.height) {
      std::printf("line %d: (%u, %u) is outside the %ux%u image\n", number, x, y, image.width,
                  image.height);
      ++failures;
      continue;
    }
    const unsigned char *p = &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
    char got[7];
    std::snprintf(got, sizeof got, "%02X%02X%02X", p[0], p[1], p[2]);
    for (char &c : colour) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (colour != got) {
      std::printf("line %d: pixel (%u, %u) is %s, expected %s\n", number, x, y, got,
                  colour.c_str());
      ++failures;
    }
  }
  return failures ? 1 : 0;
}
