// SPDX-License-Identifier: MIT
// The SSSE3 row conversion. Each function carries its own target, so the rest of the
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

#else

bool HasByteShuffle() {
  return false;
}
void Expand24(const uint8_t*, uint8_t*, int32_t) {}

#endif

}  // namespace layer::bmp::x86
