// SPDX-License-Identifier: MIT
// BMP writing for tests, the fuzzing corpus and the benchmarks.
#include "bmp_writer.h"

#include <cstdlib>

namespace layer::bmp {
namespace {

void Put16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  out[at] = static_cast<uint8_t>(v);
  out[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  Put16(out, at, v & 0xFFFF);
  Put16(out, at + 2, v >> 16);
}

}  // namespace

std::vector<uint8_t> PackRow(const uint32_t* values, int32_t count, uint16_t bit_count) {
  const size_t stored_bits = bit_count <= 8 ? bit_count : (bit_count + 7) / 8 * 8;
  const size_t row_bytes = (static_cast<size_t>(count) * stored_bits + 31) / 32 * 4;
  std::vector<uint8_t> row(row_bytes, 0);
  for (int32_t x = 0; x < count; ++x) {
    const uint32_t v = values[x];
    if (bit_count < 8) {
      const size_t bit = static_cast<size_t>(x) * bit_count;
      row[bit / 8] |= static_cast<uint8_t>(v << (8 - bit_count - bit % 8));
    } else {
      const size_t bytes = (bit_count + 7) / 8;
      for (size_t b = 0; b < bytes; ++b) row[x * bytes + b] = static_cast<uint8_t>(v >> (8 * b));
    }
  }
  return row;
}

std::vector<uint8_t> WriteBmpWithPixelData(const BmpDescription& d,
                                           const std::vector<uint8_t>& pixel_data) {
  const bool core = d.info_size == 12;
  const size_t header_end = 14 + d.info_size;
  std::vector<uint8_t> out(header_end, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 14, d.info_size);
  if (core) {
    Put16(out, 18, static_cast<uint32_t>(d.width));
    Put16(out, 20, static_cast<uint32_t>(d.height));
    Put16(out, 22, d.planes);
    Put16(out, 24, d.bit_count);
  } else {
    Put32(out, 18, static_cast<uint32_t>(d.width));
    Put32(out, 22, static_cast<uint32_t>(d.height));
    Put16(out, 26, d.planes);
    Put16(out, 28, d.bit_count);
    if (d.info_size >= 20) Put32(out, 30, d.compression);
    if (d.info_size >= 24) Put32(out, 34, static_cast<uint32_t>(pixel_data.size()));
  }
  if (d.masks && d.info_size >= 108) {
    Put32(out, 54, d.masks->red);
    Put32(out, 58, d.masks->green);
    Put32(out, 62, d.masks->blue);
    Put32(out, 66, d.masks->alpha);
  } else if (d.masks) {
    out.resize(out.size() + 12);
    Put32(out, header_end, d.masks->red);
    Put32(out, header_end + 4, d.masks->green);
    Put32(out, header_end + 8, d.masks->blue);
  }
  if (d.bit_count <= 8) {
    const size_t entries = size_t{1} << d.bit_count;
    const size_t entry_bytes = core ? 3 : 4;
    const size_t at = out.size();
    out.resize(at + entries * entry_bytes, 0);
    for (size_t i = 0; i < entries && i < d.palette.size(); ++i) {
      out[at + i * entry_bytes] = static_cast<uint8_t>(d.palette[i]);
      out[at + i * entry_bytes + 1] = static_cast<uint8_t>(d.palette[i] >> 8);
      out[at + i * entry_bytes + 2] = static_cast<uint8_t>(d.palette[i] >> 16);
    }
  }
  Put32(out, 10, d.zero_pixel_offset ? 0 : static_cast<uint32_t>(out.size()));
  out.insert(out.end(), pixel_data.begin(), pixel_data.end());
  Put32(out, 2, static_cast<uint32_t>(out.size()));
  return out;
}

std::vector<uint8_t> WriteBmp(const BmpDescription& d, const std::vector<uint32_t>& values) {
  const int32_t rows = std::abs(d.height);
  std::vector<uint32_t> all = values;
  all.resize(static_cast<size_t>(d.width) * static_cast<size_t>(rows), 0);
  std::vector<uint8_t> data;
  for (int32_t i = 0; i < rows; ++i) {
    const int32_t y = d.height < 0 ? i : rows - 1 - i;  // stored order
    const std::vector<uint8_t> row =
        PackRow(all.data() + static_cast<size_t>(y) * d.width, d.width, d.bit_count);
    data.insert(data.end(), row.begin(), row.end());
  }
  return WriteBmpWithPixelData(d, data);
}

}  // namespace layer::bmp
