// SPDX-License-Identifier: MIT
// Row conversions: the wide (SSSE3) and the plain forms give the same pixels for any
// row length, and neither touches a byte beyond the stored row or the output row. Rows are
// placed against an inaccessible page, so a read or write past their end stops the test.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <optional>
#include <random>
#include <vector>

#include "picture/bmp_headers.h"
#include "picture/bmp_pixels.h"
#include "picture/bmp_pixels_x86.h"

namespace {

using layer::bmp::BmpLayout;
using layer::bmp::RowConverter;

// n bytes that end right before a page which may be neither read nor written.
class GuardedBytes {
 public:
  explicit GuardedBytes(size_t n) {
    const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    const size_t usable = (n + page - 1) / page * page;
    size_ = usable + page;
    void* memory =
        ::mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return;
    base_ = static_cast<uint8_t*>(memory);
    if (::mprotect(base_ + usable, page, PROT_NONE) != 0) return;
    data_ = base_ + usable - n;
  }
  ~GuardedBytes() {
    if (base_) ::munmap(base_, size_);
  }
  GuardedBytes(const GuardedBytes&) = delete;
  GuardedBytes& operator=(const GuardedBytes&) = delete;

  uint8_t* data() const { return data_; }

 private:
  uint8_t* base_ = nullptr;
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

// Turns the wide forms off for one scope.
class PlainFormsOnly {
 public:
  PlainFormsOnly() { layer::bmp::x86::AllowWideForms(false); }
  ~PlainFormsOnly() { layer::bmp::x86::AllowWideForms(true); }
};

BmpLayout LayoutFor(uint32_t bit_count, std::mt19937& random) {
  BmpLayout layout;
  layout.width = 1;
  layout.height = 1;
  layout.bit_count = bit_count;
  layout.masks = layer::bmp::DefaultMasks(bit_count);
  for (uint32_t& entry : layout.palette) entry = 0xFF000000u | (random() & 0xFFFFFF);
  return layout;
}

// The pixel a stored 8-bit or 24-bit row holds at x, worked out byte by byte.
uint32_t Expected(const BmpLayout& layout, const uint8_t* row, int32_t x) {
  if (layout.bit_count == 8) return layout.palette[row[x]];
  const uint8_t* p = row + 3 * x;
  return 0xFF000000u | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
}

// Converts count pixels of random stored bytes with the converter built now, and checks each.
void ConvertAndCheck(const BmpLayout& layout, int32_t count, std::mt19937& random) {
  const size_t stored = static_cast<size_t>(count) * layout.bit_count / 8;
  GuardedBytes from(stored);
  GuardedBytes to(static_cast<size_t>(count) * 4);
  ASSERT_NE(from.data(), nullptr);
  ASSERT_NE(to.data(), nullptr);
  for (size_t i = 0; i < stored; ++i) from.data()[i] = static_cast<uint8_t>(random());

  RowConverter(layout).Convert(from.data(), to.data(), count);
  int32_t wrong = 0;
  for (int32_t x = 0; x < count; ++x) {
    uint32_t got;
    std::memcpy(&got, to.data() + 4 * x, 4);
    const uint32_t want = Expected(layout, from.data(), x);
    if (got != want && ++wrong <= 3) {
      ADD_FAILURE() << "pixel " << x << " of " << count << " is " << std::hex << got << ", want "
                    << want;
    }
  }
}

class BmpRowFormsTest : public ::testing::TestWithParam<uint32_t> {};

TEST_P(BmpRowFormsTest, WideAndPlainFormsConvertRandomRowsAlike) {
  std::mt19937 random(GetParam());
  const BmpLayout layout = LayoutFor(GetParam(), random);
  // Every length up to a few wide steps, then random lengths up to past the screen's width.
  std::vector<int32_t> counts;
  for (int32_t count = 1; count <= 200; ++count) counts.push_back(count);
  for (int i = 0; i < 100; ++i) counts.push_back(1 + static_cast<int32_t>(random() % 2000));

  for (bool wide : {true, false}) {
    SCOPED_TRACE(wide ? "wide forms where the processor has them" : "plain forms");
    std::optional<PlainFormsOnly> plain;
    if (!wide) plain.emplace();
    for (const int32_t count : counts) {
      ConvertAndCheck(layout, count, random);
      if (HasFailure()) return;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BitCounts, BmpRowFormsTest, ::testing::Values(8u, 24u),
                         [](const auto& info) { return std::to_string(info.param) + "bit"; });

TEST(BmpRowFormsSwitch, TurnsTheWideFormsOffAndOnAgain) {
  const bool shuffle = layer::bmp::x86::HasByteShuffle();
  {
    PlainFormsOnly plain;
    EXPECT_FALSE(layer::bmp::x86::HasByteShuffle());
  }
  EXPECT_EQ(layer::bmp::x86::HasByteShuffle(), shuffle);
}

}  // namespace
