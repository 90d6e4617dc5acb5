// SPDX-License-Identifier: MIT
// A small DEFLATE compressor (RFC 1951) in a zlib stream (RFC 1950), for the PNG icons. The
// same input gives the same bytes on every build machine.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace pictures {

// Compressed blocks with their own Huffman codes, LZ77 matches found along hash chains.
std::vector<uint8_t> Deflate(std::span<const uint8_t> data);
// Deflate's blocks behind the two-byte zlib header and followed by the Adler-32 of data.
std::vector<uint8_t> ZlibCompress(std::span<const uint8_t> data);

}  // namespace pictures
