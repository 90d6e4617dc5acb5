// SPDX-License-Identifier: MIT
// The packed picture format's pixel model, written once for both directions: the picture
// tool's encoder (tools/pictures/packed.cpp) and LoadPicture's decoder (packed_load.cpp) run
// this same code, one with a range encoder, the other with a range decoder.
//
// File: 0xFC, width and height (16-bit little-endian each, 1 or more), then one range-coded
// stream of the pixels, top row first, 0x00RRGGBB each. Every pixel is coded as one of:
//   - a copy of a neighbour (left, above, above left, above right, two left, two above), named
//     by its place among the distinct colours there;
//   - the colour that last followed the same left and upper neighbours;
//   - one of the 64 colours coded last that were neither copies nor such a colour, by its rank
//     among those that can still be the pixel (most recent first);
//   - green, red and blue predicted from the neighbours (median edge predictor), red and blue
//     corrected by green's error scaled to how the channels change nearby, and the errors coded.
// Every decision is one bit with an adaptive probability chosen by what the neighbours did.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace layer::packed {

inline constexpr uint8_t kFirstByte = 0xFC;
inline constexpr int kHeaderBytes = 5;

// An adaptive probability, in 1/4096ths, that the next bit is 1.
class Probability {
 public:
  static constexpr int kBits = 12;
  uint32_t Value() const { return p_; }
  void Update(bool bit) {
    if (bit) {
      p_ += (4096u - p_) >> kShift;
    } else {
      p_ -= p_ >> kShift;
    }
  }

 private:
  static constexpr int kShift = 4;
  uint16_t p_ = 2048;  // stays within 15 .. 4081: a bit is never certain
};

// Codes the pixels of one picture row after row. Coder has `bool Bit(Probability&, bool bit)`:
// an encoder codes `bit` and returns it; a decoder ignores `bit` and returns the decoded one.
// Coder::kEncodes spares the decoder the search for what only the encoder codes.
template <class Coder>
class PixelCoder {
 public:
  explicit PixelCoder(int32_t width)
      : width_(width),
        rows_(3 * static_cast<size_t>(width), 0),
        errors_(2 * static_cast<size_t>(width), 0),
        followed_(kFollowedSlots, kNoColour),
        models_(std::make_unique<Models>()) {
    recent_.fill(kNoColour);
  }

  // Codes row y: the encoder reads `row` (width pixels), the decoder writes it. A call of its
  // own per row: a browser that first runs the module's code unoptimised optimises a
  // function once it has run a while, and then the following rows use that code (the menu
  // unpacks in two thirds of the time on a first visit).
  [[gnu::noinline]] void CodeRow(Coder& coder, int32_t y, uint32_t* row) {
    uint32_t* here = Row(y);
    for (int up = 0; up < 3; ++up) lines_[up] = y >= up ? Row(y - up) : nullptr;
    errors_here_ = Errors(y);
    errors_above_ = y >= 1 ? Errors(y - 1) : nullptr;
    for (int32_t x = 0; x < width_; ++x) {
      here[x] = CodePixel(coder, x, row[x]);
      row[x] = here[x];
    }
  }

 private:
  static constexpr int kRecentColours = 64;
  static constexpr int kFollowedSlots = 1 << 16;
  static constexpr int kNeighbours = 6;
  static constexpr uint32_t kNoColour = 0xFF000000u;  // pixels are 0x00RRGGBB
  static constexpr int kMaxExponent = 8;

  struct Residual {
    Probability zero, negative;
    std::array<Probability, kMaxExponent + 1> exponent;
    std::array<std::array<Probability, 8>, kMaxExponent + 1> mantissa;
  };
  struct Models {
    Probability copy[256][8];
    Probability copy_place[256][8][kNeighbours - 1];
    Probability followed[256][8];
    Probability recent[8];
    Probability recent_rank[8][kRecentColours];
    Residual residual[3][16][16];
  };

  uint32_t* Row(int32_t y) { return rows_.data() + static_cast<size_t>(y % 3) * width_; }
  int32_t* Errors(int32_t y) { return errors_.data() + static_cast<size_t>(y % 2) * width_; }

  // The pixel at x of the row `up` rows above the one being coded, of what is coded so far:
  // 0 above the picture, the first pixel of the row above left of the row's start, the row's
  // last pixel right of its end.
  uint32_t At(int32_t x, int up) const {
    if (x < 0) return lines_[up + 1] ? lines_[up + 1][0] : 0;
    return lines_[up] ? lines_[up][std::min(x, width_ - 1)] : 0;
  }

  // The number of bits of |d|, at most 15.
  static int Magnitude(int32_t d) {
    uint32_t a = static_cast<uint32_t>(std::abs(d));
    int bits = 0;
    while (a != 0 && bits < 15) {
      a >>= 1;
      ++bits;
    }
    return bits;
  }
  static int Channel(uint32_t pixel, int c) {
    return static_cast<int>((pixel >> (16 - 8 * c)) & 0xFF);
  }

  // What the coding of one pixel looks at: its six neighbours, the distinct colours among
  // them, and how well the neighbours left and above were predicted.
  struct Surroundings {
    uint32_t around[kNeighbours];  // left, above, above left, above right, two left, two above
    uint32_t distinct[kNeighbours];
    int count = 0;          // of distinct colours
    int copy_context = 0;   // how many distinct colours, and which neighbours are equal
    int error_context = 0;  // the sizes of the left and upper neighbours' errors
    bool Holds(uint32_t colour) const {
      return std::find(distinct, distinct + count, colour) != distinct + count;
    }
  };

  uint32_t CodePixel(Coder& coder, int32_t x, uint32_t pixel) {
    Surroundings s{{At(x - 1, 0), At(x, 1), At(x - 1, 1), At(x + 1, 1), At(x - 2, 0), At(x, 2)},
                   {}};
    for (const uint32_t colour : s.around) {
      if (!s.Holds(colour)) s.distinct[s.count++] = colour;
    }
    const uint32_t* a = s.around;
    const int equal = (a[0] == a[1]) | (a[0] == a[2]) << 1 | (a[1] == a[3]) << 2 |
                      (a[1] == a[2]) << 3 | (a[0] == a[4]) << 4 | (a[1] == a[5]) << 5;
    s.copy_context = (std::min(s.count, 4) - 1) * 64 + equal;
    const int32_t error_left = x > 0 ? errors_here_[x - 1] : 0;
    const int32_t error_above = errors_above_ ? errors_above_[x] : 0;
    s.error_context = std::min(7, Magnitude(error_left) + Magnitude(error_above));

    int32_t& error = errors_here_[x];
    uint32_t colour = 0;
    if (CodeCopy(coder, s, pixel, colour)) {
      error = 0;
      return colour;
    }
    // The colour that last followed the same left and upper neighbours, unless a copy would
    // have named it.
    uint32_t& followed = followed_[FollowedKey(a[0], a[1])];
    const bool offered = followed != kNoColour && !s.Holds(followed);
    if (offered &&
        coder.Bit(models_->followed[s.copy_context][s.error_context], followed == pixel)) {
      error = 1;
      return followed;
    }
    if (CodeRecent(coder, s, offered ? followed : kNoColour, pixel, colour)) {
      error = 1;
    } else {
      colour = CodePredicted(coder, s, pixel, error);
    }
    followed = colour;
    return colour;
  }

  // A copy of a neighbour: whether it is one, then which of the distinct colours, in unary.
  bool CodeCopy(Coder& coder, const Surroundings& s, uint32_t pixel, uint32_t& colour) {
    const int copied =  // what the encoder codes; the decoder never looks
        Coder::kEncodes
            ? static_cast<int>(std::find(s.distinct, s.distinct + s.count, pixel) - s.distinct)
            : s.count;
    if (!coder.Bit(models_->copy[s.copy_context][s.error_context], copied < s.count)) {
      return false;
    }
    auto& place_models = models_->copy_place[s.copy_context][s.error_context];
    int place = 0;
    while (place < s.count - 1 && !coder.Bit(place_models[place], copied == place)) ++place;
    colour = s.distinct[place];
    return true;
  }

  // One of the recent colours that can still be the pixel (neither a neighbour nor the colour
  // just ruled out): whether it is one, then its rank among those, in six bits.
  bool CodeRecent(Coder& coder, const Surroundings& s, uint32_t ruled_out, uint32_t pixel,
                  uint32_t& colour) {
    const auto possible = [&](uint32_t c) {
      return c != kNoColour && c != ruled_out && !s.Holds(c);
    };
    int rank = kRecentColours;  // what the encoder codes; the decoder never looks
    for (int i = 0, before = 0; Coder::kEncodes && i < kRecentColours; ++i) {
      if (recent_[i] == pixel) {
        rank = before;
        break;
      }
      before += possible(recent_[i]);
    }
    if (!coder.Bit(models_->recent[s.error_context], rank < kRecentColours)) return false;
    auto& rank_models = models_->recent_rank[s.error_context];
    int wanted = 0;
    for (int bit = 5, node = 1; bit >= 0; --bit) {
      const bool one = coder.Bit(rank_models[node], (rank >> bit) & 1);
      wanted = wanted * 2 + one;
      node = std::min(node * 2 + one, kRecentColours - 1);
    }
    int place = 0;  // a damaged stream may name no possible colour: the first is taken
    for (int i = 0, before = 0; i < kRecentColours; ++i) {
      if (possible(recent_[i]) && before++ == wanted) {
        place = i;
        break;
      }
    }
    colour = recent_[place];
    std::memmove(&recent_[1], &recent_[0], static_cast<size_t>(place) * sizeof(uint32_t));
    recent_[0] = colour;
    return true;
  }

  // Green, red and blue predicted from the neighbours and their errors coded; the sum of the
  // errors' sizes goes to `error`.
  uint32_t CodePredicted(Coder& coder, const Surroundings& s, uint32_t pixel, int32_t& error) {
    static constexpr int kOrder[3] = {1, 0, 2};  // green first: red and blue follow its error
    int green_error = 0;
    int error_sum = 0;
    uint32_t coded = 0;
    for (int i = 0; i < 3; ++i) {
      const int c = kOrder[i];
      const int left = Channel(s.around[0], c), up = Channel(s.around[1], c);
      const int up_left = Channel(s.around[2], c), up_right = Channel(s.around[3], c);
      int predicted = up_left >= std::max(left, up)   ? std::min(left, up)
                      : up_left <= std::min(left, up) ? std::max(left, up)
                                                      : left + up - up_left;
      if (i > 0) {
        predicted = std::clamp(predicted + FollowGreen(s.around, c, green_error), 0, 255);
      }
      const int activity = std::min(
          15,
          Magnitude(std::abs(left - up_left) + std::abs(up - up_left) + std::abs(up_right - up)));
      const int second = i == 0 ? s.error_context : Magnitude(green_error);
      const int got = CodeResidual(coder, models_->residual[i][activity][second],
                                   Channel(pixel, c) - predicted);
      if (i == 0) green_error = got;
      error_sum += std::abs(got);
      coded |= static_cast<uint32_t>(std::clamp(predicted + got, 0, 255)) << (16 - 8 * c);
    }
    error = error_sum;
    std::memmove(&recent_[1], &recent_[0], (kRecentColours - 1) * sizeof(uint32_t));
    recent_[0] = coded;
    return coded;
  }

  static uint32_t FollowedKey(uint32_t left, uint32_t up) {
    const uint32_t hash = left * 0x9E3779B1u ^ up * 0x85EBCA77u;
    return (hash ^ (hash >> 15)) & (kFollowedSlots - 1);
  }

  // Green's error scaled by how much channel c changes against green between the neighbours
  // (at most 4 times, with the sign of their correlation).
  static int FollowGreen(const uint32_t (&around)[kNeighbours], int c, int green_error) {
    static constexpr int kPairs[4][2] = {{0, 2}, {1, 2}, {3, 1}, {0, 1}};
    int change = 0, green_change = 0, correlation = 0;
    for (const auto& pair : kPairs) {
      const int d = Channel(around[pair[0]], c) - Channel(around[pair[1]], c);
      const int g = Channel(around[pair[0]], 1) - Channel(around[pair[1]], 1);
      change += std::abs(d);
      green_change += std::abs(g);
      correlation += d * g;
    }
    if (green_change == 0 || change == 0) return green_error;
    const int product = green_error * std::min(change, 4 * green_change);
    const int scaled = product >= 0 ? (product + green_change / 2) / green_change
                                    : -((-product + green_change / 2) / green_change);
    return correlation < 0 ? -scaled : scaled;
  }

  // Codes a channel's error: zero or not, its sign, its bit length in unary, then its lower
  // bits. The decoder's result is clamped by its caller.
  static int CodeResidual(Coder& coder, Residual& model, int value) {
    if (coder.Bit(model.zero, value == 0)) return 0;
    const bool negative = coder.Bit(model.negative, value < 0);
    const int magnitude = std::abs(value);
    const int wanted_exponent = Magnitude(magnitude) - 1;  // magnitude in [2^e, 2^(e+1))
    int exponent = 0;
    while (exponent < kMaxExponent &&
           coder.Bit(model.exponent[exponent], exponent < wanted_exponent)) {
      ++exponent;
    }
    int result = 1;
    for (int bit = exponent - 1; bit >= 0; --bit) {
      result = result * 2 +
               coder.Bit(model.mantissa[exponent][std::min(bit, 7)], (magnitude >> bit) & 1);
    }
    return negative ? -result : result;
  }

  int32_t width_;
  std::vector<uint32_t> rows_;     // the last three rows coded, by y % 3
  std::vector<int32_t> errors_;    // each pixel's summed channel errors, last two rows, by y % 2
  const uint32_t* lines_[4] = {};  // the row being coded and the two above it; none beyond
  int32_t* errors_here_ = nullptr;
  const int32_t* errors_above_ = nullptr;
  std::array<uint32_t, kRecentColours> recent_;  // most recent first
  std::vector<uint32_t> followed_;               // by FollowedKey of the left and upper neighbours
  std::unique_ptr<Models> models_;
};

}  // namespace layer::packed
