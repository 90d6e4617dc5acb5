// SPDX-License-Identifier: MIT
// SSSE3 and AVX-512 row conversions. Each function carries its own target, so the rest of the
// program keeps the baseline instruction set and these run only after the processor check.
#include "picture/bmp_pixels_x86.h"

#include <atomic>

#include "picture/bmp_placement.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace layer::bmp::x86 {
namespace {

[[maybe_unused]] constexpr uint32_t kOpaque = 0xFF000000u;  // used by the x86 forms only

std::atomic<bool> wide_forms_allowed{true};

}  // namespace

void AllowWideForms(bool allow) {
  wide_forms_allowed = allow;
}

#if defined(__x86_64__)

bool HasByteShuffle() {
  static const bool has = __builtin_cpu_supports("ssse3");
  return has && wide_forms_allowed;
}

bool HasBytePermute() {
  static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                          __builtin_cpu_supports("avx512vbmi");
  return has && wide_forms_allowed;
}

__attribute__((target("ssse3"))) void Expand24(const uint8_t* from, uint8_t* to, int32_t count) {
  const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m128i opaque = _mm_set1_epi32(static_cast<int32_t>(kOpaque));
  int32_t i = 0;
  // Each load takes 16 bytes of which 12 are used: stop while 4 spare bytes remain.
  for (; i + 10 <= count; i += 8) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 3 * i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 3 * i + 12));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 4 * i),
                     _mm_or_si128(_mm_shuffle_epi8(a, spread), opaque));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 4 * i + 16),
                     _mm_or_si128(_mm_shuffle_epi8(b, spread), opaque));
  }
  for (; i < count; ++i) {
    const uint8_t* p = from + 3 * i;
    StorePixel(to + 4 * i, kOpaque | p[0] | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16);
  }
}

#define XMAS_TARGET_VBMI __attribute__((target("avx512f,avx512bw,avx512vbmi")))

// One byte plane of 256 entries in four registers: two permutes look up the low and the high
// 128 entries, the indices' top bits choose between them.
XMAS_TARGET_VBMI inline __m512i LookupPlane(const __m512i (&plane)[4], __m512i indices,
                                            __mmask64 high) {
  const __m512i low_half = _mm512_permutex2var_epi8(plane[0], indices, plane[1]);
  const __m512i high_half = _mm512_permutex2var_epi8(plane[2], indices, plane[3]);
  return _mm512_mask_blend_epi8(high, low_half, high_half);
}

XMAS_TARGET_VBMI void Lookup8(const PalettePlanes& planes, const uint32_t* palette,
                              const uint8_t* from, uint8_t* to, int32_t count) {
  __m512i table[3][4];
  for (int plane = 0; plane < 3; ++plane) {
    for (int part = 0; part < 4; ++part) {
      table[plane][part] = _mm512_loadu_si512(planes.data() + 256 * plane + 64 * part);
    }
  }
  const __m512i opaque = _mm512_set1_epi8(static_cast<char>(0xFF));
  const __m512i first_halves = _mm512_setr_epi64(0, 1, 2, 3, 8, 9, 10, 11);
  const __m512i second_halves = _mm512_setr_epi64(4, 5, 6, 7, 12, 13, 14, 15);
  const __m512i even_lanes = _mm512_setr_epi64(0, 1, 4, 5, 8, 9, 12, 13);
  const __m512i odd_lanes = _mm512_setr_epi64(2, 3, 6, 7, 10, 11, 14, 15);
  int32_t i = 0;
  for (; i + 64 <= count; i += 64) {
    const __m512i indices = _mm512_loadu_si512(from + i);
    const __mmask64 high = _mm512_movepi8_mask(indices);
    const __m512i blue = LookupPlane(table[0], indices, high);
    const __m512i green = LookupPlane(table[1], indices, high);
    const __m512i red = LookupPlane(table[2], indices, high);
    // Interleave to B, G, R, A per pixel. The unpacks work within 128-bit lanes: lane k of
    // p0..p3 holds pixels 16k+0..3, 16k+4..7, 16k+8..11 and 16k+12..15.
    const __m512i bg_low = _mm512_unpacklo_epi8(blue, green);
    const __m512i bg_high = _mm512_unpackhi_epi8(blue, green);
    const __m512i ra_low = _mm512_unpacklo_epi8(red, opaque);
    const __m512i ra_high = _mm512_unpackhi_epi8(red, opaque);
    const __m512i p0 = _mm512_unpacklo_epi16(bg_low, ra_low);
    const __m512i p1 = _mm512_unpackhi_epi16(bg_low, ra_low);
    const __m512i p2 = _mm512_unpacklo_epi16(bg_high, ra_high);
    const __m512i p3 = _mm512_unpackhi_epi16(bg_high, ra_high);
    // Gather lane k of p0..p3 into output register k, in two steps of 64-bit element picks.
    const __m512i q0 = _mm512_permutex2var_epi64(p0, first_halves, p1);
    const __m512i q1 = _mm512_permutex2var_epi64(p2, first_halves, p3);
    const __m512i q2 = _mm512_permutex2var_epi64(p0, second_halves, p1);
    const __m512i q3 = _mm512_permutex2var_epi64(p2, second_halves, p3);
    _mm512_storeu_si512(to + 4 * i, _mm512_permutex2var_epi64(q0, even_lanes, q1));
    _mm512_storeu_si512(to + 4 * i + 64, _mm512_permutex2var_epi64(q0, odd_lanes, q1));
    _mm512_storeu_si512(to + 4 * i + 128, _mm512_permutex2var_epi64(q2, even_lanes, q3));
    _mm512_storeu_si512(to + 4 * i + 192, _mm512_permutex2var_epi64(q2, odd_lanes, q3));
  }
  for (; i < count; ++i) StorePixel(to + 4 * i, palette[from[i]]);
}

#else

bool HasByteShuffle() {
  return false;
}
bool HasBytePermute() {
  return false;
}
void Expand24(const uint8_t*, uint8_t*, int32_t) {}
void Lookup8(const PalettePlanes&, const uint32_t*, const uint8_t*, uint8_t*, int32_t) {}

#endif

PalettePlanes SplitPalette(const uint32_t* palette) {
  PalettePlanes planes{};
  for (int i = 0; i < 256; ++i) {
    planes[i] = static_cast<uint8_t>(palette[i]);
    planes[256 + i] = static_cast<uint8_t>(palette[i] >> 8);
    planes[512 + i] = static_cast<uint8_t>(palette[i] >> 16);
  }
  return planes;
}

}  // namespace layer::bmp::x86
