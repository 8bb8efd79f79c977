#include "server/BlockCodec.h"

#include <gtest/gtest.h>

#include <bit>
#include <limits>
#include <tuple>
#include <type_traits>
#include <vector>

namespace {

using BlockCodec::Status;
using Bytes = std::vector<uint8_t>;

// The test's own little-endian access, independent of the codec's helpers.
void put(Bytes& bytes, std::size_t at, int width, uint64_t v) {
  for (int i = 0; i < width; ++i) bytes.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
}
template <typename Array>
void putArray(Bytes& bytes, std::size_t at, const Array& a) {
  constexpr int w = sizeof(a[0]);
  using Raw = std::conditional_t<w == 8, uint64_t, uint32_t>;
  for (std::size_t i = 0; i < a.size(); ++i) put(bytes, at + w * i, w, std::bit_cast<Raw>(a[i]));
}

// Where two images first differ, or -1; a whole-block EXPECT_EQ would print 8 KB.
long firstDifference(const Bytes& a, const Bytes& b) {
  if (a.size() != b.size()) return -2;
  const auto m = std::mismatch(a.begin(), a.end(), b.begin());
  return m.first == a.end() ? -1 : m.first - a.begin();
}

// A NaN with a payload: a decoder that goes through arithmetic would lose it.
const double kPayloadNaN = std::bit_cast<double>(0x7ff8'0000'dead'beefULL);

// Distinct bytes in every header field: a field read or written one byte off cannot match.
constexpr uint16_t kHasData = 0x0A01;
constexpr int32_t kNegativeTime = -123456789;
constexpr int32_t kPositiveTime = 0x65432107;
constexpr uint16_t kEntries = 500;
constexpr uint16_t kBlocks = 97;

template <typename T>
std::array<T, Blocks::kMaxEntries> ramp(T first, T step) {
  std::array<T, Blocks::kMaxEntries> a;
  for (std::size_t i = 0; i < a.size(); ++i) a[i] = first + step * static_cast<T>(i);
  return a;
}
Blocks::Values sampleValues() {
  Blocks::Values v = ramp(-60.0, 0.25);
  v[0] = Blocks::NO_DATA, v[2] = kPayloadNaN, v[3] = -0.0, v[4] = std::numeric_limits<double>::denorm_min();
  return v;
}
const Blocks::Values kFrequencies = ramp(5.0, 0.5);
// From above 2^31, where a signed read would go negative, up to the top.
const std::array<uint32_t, Blocks::kMaxEntries> kTimes = ramp<uint32_t>(0xFFFF'FFFFu - 499 * 900, 900);

// Per kind: each header field's place and sample value, which `fill` sets on the struct.
using Field = std::tuple<std::size_t, int, uint64_t>;  // at, width, value
template <typename Block>
struct Kind;

template <>
struct Kind<RibbonBlock> {
  static constexpr std::size_t size = Blocks::kRibbonBlockSize, entryCountAt = 30, valuesAt = 32;
  static constexpr Field fields[] = {
      {2, 2, 0x0B02},         {4, 2, kBlocks},     {8, 4, uint32_t(kNegativeTime)},
      {12, 4, kPositiveTime}, {20, 4, 0x11223344}, {24, 2, 0x0C03},
      {26, 2, 0x0D04},        {28, 2, 0x0E05}};
  static void fill(RibbonBlock& b) {
    b.field2 = 0x0B02, b.blockCount = kBlocks, b.periodStart = kNegativeTime, b.periodEnd = kPositiveTime;
    b.field20 = 0x11223344, b.field24 = 0x0C03, b.field26 = 0x0D04, b.field28 = 0x0E05;
  }
};
template <>
struct Kind<DayBlock> {
  static constexpr std::size_t size = Blocks::kDayBlockSize, entryCountAt = 34, valuesAt = 40;
  static constexpr Field fields[] = {{4, 2, kBlocks},        {8, 4, uint32_t(kNegativeTime)},
                                     {12, 4, kPositiveTime}, {16, 4, 79200},
                                     {20, 4, 108000},        {28, 2, 0x0C03},
                                     {30, 2, 0x0D04}};
  static void fill(DayBlock& b) {
    b.blockCount = kBlocks, b.periodStart = kNegativeTime, b.periodEnd = kPositiveTime;
    b.windowStart = 79200, b.windowEnd = 108000, b.field28 = 0x0C03, b.field30 = 0x0D04;
  }
};
template <>
struct Kind<FrequencySeriesBlock> {
  static constexpr std::size_t size = Blocks::kFrequencyBlockSize, entryCountAt = 40, valuesAt = 48;
  static constexpr Field fields[] = {{8, 4, uint32_t(kNegativeTime)}};
  static void fill(FrequencySeriesBlock& b) { b.labelTime = kNegativeTime; }
};
template <>
struct Kind<SummaryBlock> {
  static constexpr std::size_t size = Blocks::kSummaryBlockSize, entryCountAt = 22, valuesAt = 24;
  static constexpr Field fields[] = {{4, 4, kPositiveTime}};
  static void fill(SummaryBlock& b) { b.labelTime = kPositiveTime; }
};

template <typename Block>
Block sample() {
  Block b;
  b.hasData = kHasData, b.entryCount = kEntries, b.values = sampleValues();
  if constexpr (std::is_same_v<Block, FrequencySeriesBlock>)
    b.times = kTimes;
  else
    b.frequencies = kFrequencies;
  Kind<Block>::fill(b);
  return b;
}
template <typename Block>
Bytes imageOf() {
  using K = Kind<Block>;
  Bytes b(K::size);
  put(b, 0, 2, kHasData), put(b, K::entryCountAt, 2, kEntries), putArray(b, K::valuesAt, sampleValues());
  for (const auto& [at, width, value] : K::fields) put(b, at, width, value);
  if constexpr (std::is_same_v<Block, FrequencySeriesBlock>)
    putArray(b, K::valuesAt + 4000, kTimes);
  else
    putArray(b, K::valuesAt + 4000, kFrequencies);
  return b;
}

// What `out` held before a refused decode; it must still hold it afterwards.
template <typename Block>
Block previousContents() {
  Block b{};
  b.hasData = 0x5A5A, b.values[0] = 3.5;
  return b;
}

template <typename Block>
class BlockCodecTest : public ::testing::Test {};
using BlockKinds = ::testing::Types<RibbonBlock, DayBlock, FrequencySeriesBlock, SummaryBlock>;
TYPED_TEST_SUITE(BlockCodecTest, BlockKinds);

TYPED_TEST(BlockCodecTest, EncodesTheImageBitForBitAndDecodesItBack) {
  const Bytes image = imageOf<TypeParam>();
  EXPECT_EQ(firstDifference(BlockCodec::encode(sample<TypeParam>()), image), -1);
  TypeParam decoded = previousContents<TypeParam>();
  ASSERT_EQ(BlockCodec::decode(image, decoded), Status::Ok);
  EXPECT_EQ(firstDifference(BlockCodec::encode(decoded), image), -1);
  Bytes exact(image.size()), tooSmall(image.size() - 1);
  EXPECT_EQ(std::pair(BlockCodec::encodeInto(sample<TypeParam>(), exact),
                      BlockCodec::encodeInto(sample<TypeParam>(), tooSmall)),
            std::pair(true, false));
}

// Every refusal leaves `out` as it was. An exact-size heap copy lets a
// sanitizer build catch a read past the end of a short buffer.
template <typename Block>
void expectRefused(const Bytes& bytes, Status expected) {
  Block out = previousContents<Block>();
  EXPECT_EQ(BlockCodec::decode(bytes, out), expected);
  EXPECT_EQ(BlockCodec::encode(out), BlockCodec::encode(previousContents<Block>()));
}

TYPED_TEST(BlockCodecTest, ShortBufferAndCountsAboveTheLimitsAreRefused) {
  const Bytes image = imageOf<TypeParam>();
  expectRefused<TypeParam>(Bytes(image.begin(), image.end() - 1), Status::ShortBuffer);
  constexpr bool countsBlocks = std::is_same_v<TypeParam, RibbonBlock> || std::is_same_v<TypeParam, DayBlock>;
  const std::size_t entriesAt = Kind<TypeParam>::entryCountAt;
  const std::tuple<std::size_t, uint16_t, Status> corrupt[] = {{entriesAt, 501, Status::TooManyEntries},
                                                               {entriesAt, 65535, Status::TooManyEntries},
                                                               {4, 98, Status::TooManyBlocks},
                                                               {4, 65535, Status::TooManyBlocks}};
  for (const auto& [at, count, expected] : corrupt) {
    if (expected == Status::TooManyBlocks && !countsBlocks) continue;
    Bytes bytes = image;
    put(bytes, at, 2, count);
    expectRefused<TypeParam>(bytes, expected);
  }
}

// Entries 0 and 249: one image checks the layout inside an entry and the stride between them.
ThresholdEntry handPickedEntry() {
  ThresholdEntry e;
  e.inUse = 1, e.kindMask = 0x0A05, e.frequency = 651.25, e.limitSet = {0x0102, 0, 0x0304, 0x0506, 0x0708};
  e.limitLevel = {-12.5, 0.0, 40.25, kPayloadNaN, Blocks::NO_DATA};
  return e;
}

Bytes handPickedImage() {
  Bytes b(Blocks::kThresholdEntrySize);
  put(b, 0, 4, 1), put(b, 6, 2, 0x0A05), put(b, 16, 8, std::bit_cast<uint64_t>(651.25));
  const ThresholdEntry e = handPickedEntry();
  for (std::size_t k = 0; k < 5; ++k)
    put(b, 40 + 32 * k, 2, e.limitSet[k]), put(b, 48 + 32 * k, 8, std::bit_cast<uint64_t>(e.limitLevel[k]));
  return b;
}

ThresholdTable sampleTable() {
  ThresholdTable t;
  for (std::size_t i = 0; i < t.size(); ++i) {
    t[i].inUse = i % 3 == 0, t[i].frequency = 5.0 + 3.25 * static_cast<double>(i);
    for (std::size_t k = 0; k < 5; ++k)
      t[i].limitSet[k] = static_cast<uint16_t>((i + k) % 2 ? 0x0100 + i : 0),
      t[i].limitLevel[k] = -10.5 * static_cast<double>(k) + static_cast<double>(i);
  }
  t.front() = t.back() = handPickedEntry();
  return t;
}

TEST(ThresholdTableCodecTest, EntriesMatchTheirImage) {
  // Into a larger, dirty buffer: the table's own bytes, nothing after them.
  Bytes bytes(Blocks::kThresholdTableSize + 16, 0xAA), expected = BlockCodec::encode(sampleTable());
  ASSERT_TRUE(BlockCodec::encodeInto(sampleTable(), bytes));
  expected.resize(bytes.size(), 0xAA);
  EXPECT_EQ(firstDifference(bytes, expected), -1);
  for (std::size_t base : {std::size_t{0}, 249 * Blocks::kThresholdEntrySize}) {
    const Bytes entry(bytes.begin() + base, bytes.begin() + base + Blocks::kThresholdEntrySize);
    EXPECT_EQ(firstDifference(entry, handPickedImage()), -1) << "entry at " << base;
  }
  Bytes tooSmall(Blocks::kThresholdTableSize - 1, 0xAA);
  EXPECT_FALSE(BlockCodec::encodeInto(sampleTable(), tooSmall));
  EXPECT_EQ(tooSmall, Bytes(Blocks::kThresholdTableSize - 1, 0xAA));
}

// Counts above the table are capped at its 250 entries.
TEST(ThresholdTableCodecTest, DecodeReadsOnlyTheCountedEntriesThatFit) {
  constexpr Status Ok = Status::Ok, Short = Status::ShortBuffer;
  const struct {
    int count, bufferEntries, extraBytes;  // the buffer holds whole entries and a few bytes more or less
    Status expected;
    std::size_t entriesRead;
  } cases[] = {
      {0, 250, 0, Ok, 0},       {-1, 250, 0, Ok, 0}, {250, 250, 0, Ok, 250},     {251, 250, 0, Ok, 250},
      {65535, 250, 0, Ok, 250}, {3, 3, 0, Ok, 3},    {250, 250, -1, Short, 249}, {10, 4, 100, Short, 4},
      {10, 0, 0, Short, 0},     {0, 0, 0, Ok, 0}};
  const ThresholdTable source = sampleTable();
  const Bytes full = BlockCodec::encode(source);
  const ThresholdEntry untouched{.inUse = 77};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "count " << c.count << ", " << c.bufferEntries << " entries");
    const Bytes bytes(full.begin(),
                      full.begin() + c.bufferEntries * Blocks::kThresholdEntrySize + c.extraBytes);
    ThresholdTable out, want = source;
    out.fill(untouched);
    EXPECT_EQ(BlockCodec::decode(bytes, out, c.count), c.expected);
    std::fill(want.begin() + c.entriesRead, want.end(), untouched);
    EXPECT_EQ(BlockCodec::encode(out), BlockCodec::encode(want));
  }
}

}  // namespace
