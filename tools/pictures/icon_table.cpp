// SPDX-License-Identifier: MIT
#include "pictures/icon_table.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace pictures {

std::string WindowIconSource(const Canvas& c) {
  std::string out =
      "// SPDX-License-Identifier: MIT\n"
      "// Made by make_pictures --icon-table from the game's icon art: do not edit.\n"
      "#include \"backends/window_icon.h\"\n\n"
      "namespace layer {\n\n";
  out += "static_assert(kWindowIconSize == " + std::to_string(c.width()) +
         " && kWindowIconSize == " + std::to_string(c.height()) + ");\n\n";
  out += "const uint32_t kWindowIconPixels[kWindowIconSize * kWindowIconSize] = {\n";
  const std::vector<uint8_t> rgb = c.ToRgb8();
  const size_t pixels = static_cast<size_t>(c.width()) * static_cast<size_t>(c.height());
  for (size_t i = 0; i < pixels; ++i) {
    const uint32_t argb = 0xFF000000u | (uint32_t{rgb[i * 3]} << 16) |
                          (uint32_t{rgb[i * 3 + 1]} << 8) | rgb[i * 3 + 2];
    char word[16];
    std::snprintf(word, sizeof word, "0x%08X,", static_cast<unsigned>(argb));
    out += (i % 8 == 0) ? "    " : " ";
    out += word;
    if (i % 8 == 7 || i + 1 == pixels) out += '\n';
  }
  out += "};\n\n}  // namespace layer\n";
  return out;
}

}  // namespace pictures
