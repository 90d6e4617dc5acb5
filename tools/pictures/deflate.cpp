// SPDX-License-Identifier: MIT
#include "pictures/deflate.h"

#include <algorithm>
#include <array>
#include <functional>
#include <queue>
#include <utility>

#include "pictures/byte_order.h"

namespace pictures {
namespace {

constexpr int kWindow = 32768;
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 258;
constexpr int kHashBits = 15;
constexpr int kMaxChain = 1024;  // candidates looked at per position
constexpr int kLazyLimit = 64;   // a match this long is taken without looking one byte on
constexpr size_t kBlockTokens = 1 << 14;
constexpr int kEndOfBlock = 256;
constexpr int kLiteralCodes = 286;  // literals, end of block and the 29 length codes
constexpr int kDistanceCodes = 30;

constexpr std::array<uint16_t, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                  15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                  67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<uint16_t, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<uint8_t, 30> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                    4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                    9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which the code lengths of the code-length alphabet are stored.
constexpr std::array<uint8_t, 19> kCodeLengthOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                      11, 4,  12, 3, 13, 2, 14, 1, 15};

// A literal byte (distance 0) or a match of `value` bytes `distance` bytes back.
struct Token {
  uint16_t value;
  uint16_t distance;
};

class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
  // The low `count` bits of value, first bit first (as DEFLATE packs everything but codes).
  void Put(uint32_t value, int count) {
    bits_ |= static_cast<uint64_t>(value & ((1u << count) - 1)) << used_;
    used_ += count;
    while (used_ >= 8) {
      out_.push_back(static_cast<uint8_t>(bits_));
      bits_ >>= 8;
      used_ -= 8;
    }
  }
  void Flush() {
    if (used_ > 0) out_.push_back(static_cast<uint8_t>(bits_));
    bits_ = 0;
    used_ = 0;
  }

 private:
  std::vector<uint8_t>& out_;
  uint64_t bits_ = 0;
  int used_ = 0;
};

// Huffman code lengths of at most `limit` bits for the frequencies. At least two symbols get a
// code, so that every code is complete. Too deep a tree is rebuilt from flattened frequencies.
std::vector<uint8_t> CodeLengths(std::vector<uint32_t> freq, int limit) {
  const int used =
      static_cast<int>(std::count_if(freq.begin(), freq.end(), [](uint32_t f) { return f > 0; }));
  for (size_t s = 0; used < 2 && s < 2; ++s) {
    if (freq[s] == 0) freq[s] = 1;
  }
  const size_t n = freq.size();
  while (true) {
    // Nodes 0..n-1 are the symbols; inner nodes follow. Ties go to the lower node number.
    std::vector<std::pair<int, int>> children(n, {-1, -1});
    using Entry = std::pair<uint64_t, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
    for (size_t s = 0; s < n; ++s) {
      if (freq[s] > 0) queue.push({freq[s], static_cast<int>(s)});
    }
    while (queue.size() > 1) {
      const Entry a = queue.top();
      queue.pop();
      const Entry b = queue.top();
      queue.pop();
      children.push_back({a.second, b.second});
      queue.push({a.first + b.first, static_cast<int>(children.size() - 1)});
    }
    std::vector<uint8_t> lengths(n, 0);
    int deepest = 0;
    std::vector<std::pair<int, int>> stack = {{queue.top().second, 0}};
    while (!stack.empty()) {
      const auto [node, depth] = stack.back();
      stack.pop_back();
      if (children[static_cast<size_t>(node)].first < 0) {
        lengths[static_cast<size_t>(node)] = static_cast<uint8_t>(depth);
        deepest = std::max(deepest, depth);
      } else {
        stack.push_back({children[static_cast<size_t>(node)].first, depth + 1});
        stack.push_back({children[static_cast<size_t>(node)].second, depth + 1});
      }
    }
    if (deepest <= limit) return lengths;
    for (uint32_t& f : freq) {
      if (f > 0) f = (f >> 1) | 1;
    }
  }
}

// Canonical codes for the lengths (RFC 1951 3.2.2), bit-reversed for the bit writer.
std::vector<uint16_t> CanonicalCodes(const std::vector<uint8_t>& lengths) {
  std::array<uint16_t, 16> count{};
  for (const uint8_t len : lengths) ++count[len];
  count[0] = 0;
  std::array<uint16_t, 16> next{};
  uint16_t code = 0;
  for (int bits = 1; bits < 16; ++bits) {
    code = static_cast<uint16_t>((code + count[static_cast<size_t>(bits - 1)]) << 1);
    next[static_cast<size_t>(bits)] = code;
  }
  std::vector<uint16_t> codes(lengths.size(), 0);
  for (size_t s = 0; s < lengths.size(); ++s) {
    const int len = lengths[s];
    if (len == 0) continue;
    const uint16_t c = next[static_cast<size_t>(len)]++;
    uint16_t reversed = 0;
    for (int b = 0; b < len; ++b)
      reversed = static_cast<uint16_t>(reversed | (((c >> b) & 1) << (len - 1 - b)));
    codes[s] = reversed;
  }
  return codes;
}

int LengthCode(int length) {
  int i = static_cast<int>(kLengthBase.size()) - 1;
  while (kLengthBase[static_cast<size_t>(i)] > length) --i;
  return i;
}

int DistanceCode(int distance) {
  int i = static_cast<int>(kDistanceBase.size()) - 1;
  while (kDistanceBase[static_cast<size_t>(i)] > distance) --i;
  return i;
}

class MatchFinder {
 public:
  explicit MatchFinder(std::span<const uint8_t> data)
      : data_(data), head_(size_t{1} << kHashBits, -1), prev_(data.size(), -1) {}

  // Adds position i to its chain (positions are added in order).
  void Insert(size_t i) {
    if (i + kMinMatch > data_.size()) return;
    const uint32_t h = Hash(i);
    prev_[i] = head_[h];
    head_[h] = static_cast<int32_t>(i);
  }

  // The longest earlier match for the bytes at i: length (0 when under 3) and distance.
  std::pair<int, int> Longest(size_t i) const {
    if (i + kMinMatch > data_.size()) return {0, 0};
    const size_t limit = std::min<size_t>(kMaxMatch, data_.size() - i);
    int best = 0, distance = 0;
    int chain = kMaxChain;
    for (int32_t c = head_[Hash(i)]; c >= 0 && i - static_cast<size_t>(c) <= kWindow && chain-- > 0;
         c = prev_[static_cast<size_t>(c)]) {
      const size_t from = static_cast<size_t>(c);
      if (data_[from + static_cast<size_t>(best)] != data_[i + static_cast<size_t>(best)]) continue;
      size_t len = 0;
      while (len < limit && data_[from + len] == data_[i + len]) ++len;
      if (static_cast<int>(len) > best) {
        best = static_cast<int>(len);
        distance = static_cast<int>(i - from);
        if (len == limit) break;
      }
    }
    return best >= kMinMatch ? std::pair{best, distance} : std::pair{0, 0};
  }

 private:
  uint32_t Hash(size_t i) const {
    const uint32_t v = static_cast<uint32_t>(data_[i]) << 16 |
                       static_cast<uint32_t>(data_[i + 1]) << 8 | data_[i + 2];
    return (v * 2654435761u) >> (32 - kHashBits);
  }

  std::span<const uint8_t> data_;
  std::vector<int32_t> head_;
  std::vector<int32_t> prev_;
};

// LZ77 with one step of lazy matching: a match is put off when the next byte starts a longer one.
std::vector<Token> Tokenise(std::span<const uint8_t> data) {
  std::vector<Token> tokens;
  MatchFinder finder(data);
  size_t i = 0;
  while (i < data.size()) {
    auto [len, distance] = finder.Longest(i);
    finder.Insert(i);
    if (len > 0 && len < kLazyLimit && finder.Longest(i + 1).first > len) len = 0;
    if (len == 0) {
      tokens.push_back({data[i], 0});
      ++i;
      continue;
    }
    tokens.push_back({static_cast<uint16_t>(len), static_cast<uint16_t>(distance)});
    for (size_t k = 1; k < static_cast<size_t>(len); ++k) finder.Insert(i + k);
    i += static_cast<size_t>(len);
  }
  return tokens;
}

// The code lengths of both alphabets, run-length coded with symbols 16, 17 and 18: pairs of
// symbol and the value of its extra bits.
std::vector<std::pair<int, int>> RunLengths(const std::vector<uint8_t>& lengths) {
  std::vector<std::pair<int, int>> out;
  for (size_t i = 0; i < lengths.size();) {
    const int value = lengths[i];
    size_t run = 1;
    while (i + run < lengths.size() && lengths[i + run] == value) ++run;
    i += run;
    if (value == 0) {
      while (run >= 11) {
        const size_t n = std::min<size_t>(run, 138);
        out.push_back({18, static_cast<int>(n - 11)});
        run -= n;
      }
      if (run >= 3) {
        out.push_back({17, static_cast<int>(run - 3)});
        run = 0;
      }
    } else {
      out.push_back({value, 0});
      --run;
      while (run >= 3) {
        const size_t n = std::min<size_t>(run, 6);
        out.push_back({16, static_cast<int>(n - 3)});
        run -= n;
      }
    }
    for (; run > 0; --run) out.push_back({value, 0});
  }
  return out;
}

void WriteBlock(BitWriter& bits, std::span<const Token> tokens, bool last) {
  std::vector<uint32_t> literal_freq(kLiteralCodes, 0), distance_freq(kDistanceCodes, 0);
  for (const Token& t : tokens) {
    if (t.distance == 0) {
      ++literal_freq[t.value];
    } else {
      ++literal_freq[static_cast<size_t>(257 + LengthCode(t.value))];
      ++distance_freq[static_cast<size_t>(DistanceCode(t.distance))];
    }
  }
  literal_freq[kEndOfBlock] = 1;
  const std::vector<uint8_t> literal_lengths = CodeLengths(literal_freq, 15);
  const std::vector<uint8_t> distance_lengths = CodeLengths(distance_freq, 15);
  const std::vector<uint16_t> literal_codes = CanonicalCodes(literal_lengths);
  const std::vector<uint16_t> distance_codes = CanonicalCodes(distance_lengths);

  size_t hlit = kLiteralCodes;
  while (hlit > 257 && literal_lengths[hlit - 1] == 0) --hlit;
  size_t hdist = kDistanceCodes;
  while (hdist > 1 && distance_lengths[hdist - 1] == 0) --hdist;
  std::vector<uint8_t> all(literal_lengths.begin(),
                           literal_lengths.begin() + static_cast<ptrdiff_t>(hlit));
  all.insert(all.end(), distance_lengths.begin(),
             distance_lengths.begin() + static_cast<ptrdiff_t>(hdist));
  const std::vector<std::pair<int, int>> runs = RunLengths(all);
  std::vector<uint32_t> length_freq(19, 0);
  for (const auto& [symbol, extra] : runs) ++length_freq[static_cast<size_t>(symbol)];
  const std::vector<uint8_t> length_lengths = CodeLengths(length_freq, 7);
  const std::vector<uint16_t> length_codes = CanonicalCodes(length_lengths);
  size_t hclen = 19;
  while (hclen > 4 && length_lengths[kCodeLengthOrder[hclen - 1]] == 0) --hclen;

  bits.Put(last ? 1 : 0, 1);
  bits.Put(2, 2);  // dynamic Huffman codes
  bits.Put(static_cast<uint32_t>(hlit - 257), 5);
  bits.Put(static_cast<uint32_t>(hdist - 1), 5);
  bits.Put(static_cast<uint32_t>(hclen - 4), 4);
  for (size_t k = 0; k < hclen; ++k) bits.Put(length_lengths[kCodeLengthOrder[k]], 3);
  for (const auto& [symbol, extra] : runs) {
    const size_t s = static_cast<size_t>(symbol);
    bits.Put(length_codes[s], length_lengths[s]);
    if (symbol == 16) bits.Put(static_cast<uint32_t>(extra), 2);
    if (symbol == 17) bits.Put(static_cast<uint32_t>(extra), 3);
    if (symbol == 18) bits.Put(static_cast<uint32_t>(extra), 7);
  }
  for (const Token& t : tokens) {
    if (t.distance == 0) {
      bits.Put(literal_codes[t.value], literal_lengths[t.value]);
      continue;
    }
    const size_t lc = static_cast<size_t>(LengthCode(t.value));
    bits.Put(literal_codes[257 + lc], literal_lengths[257 + lc]);
    bits.Put(static_cast<uint32_t>(t.value - kLengthBase[lc]), kLengthExtra[lc]);
    const size_t dc = static_cast<size_t>(DistanceCode(t.distance));
    bits.Put(distance_codes[dc], distance_lengths[dc]);
    bits.Put(static_cast<uint32_t>(t.distance - kDistanceBase[dc]), kDistanceExtra[dc]);
  }
  bits.Put(literal_codes[kEndOfBlock], literal_lengths[kEndOfBlock]);
}

}  // namespace

std::vector<uint8_t> Deflate(std::span<const uint8_t> data) {
  const std::vector<Token> tokens = Tokenise(data);
  std::vector<uint8_t> out;
  BitWriter bits(out);
  size_t at = 0;
  do {
    const size_t n = std::min(kBlockTokens, tokens.size() - at);
    WriteBlock(bits, std::span(tokens).subspan(at, n), at + n == tokens.size());
    at += n;
  } while (at < tokens.size());
  bits.Flush();
  return out;
}

std::vector<uint8_t> ZlibCompress(std::span<const uint8_t> data) {
  std::vector<uint8_t> out = {0x78, 0xDA};  // deflate, 32 KiB window, best compression
  const std::vector<uint8_t> blocks = Deflate(data);
  out.insert(out.end(), blocks.begin(), blocks.end());
  uint32_t a = 1, b = 0;
  for (const uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  Put32BigEndian(out, (b << 16) | a);
  return out;
}

}  // namespace pictures
