#include "server/BlockCodec.h"

#include <gtest/gtest.h>

#include <bit>
#include <limits>
#include <string>
#include <vector>

namespace {

using BlockCodec::Status;
using Bytes = std::vector<uint8_t>;

// The test's own little-endian access, independent of the codec's helpers.
void put(Bytes& bytes, std::size_t at, int width, uint64_t v) {
  for (int i = 0; i < width; ++i) bytes.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
}
uint64_t bits(double d) {
  return std::bit_cast<uint64_t>(d);
}
template <typename Array>
void putArray(Bytes& bytes, std::size_t at, const Array& a) {
  constexpr int width = sizeof(typename Array::value_type);
  for (std::size_t i = 0; i < a.size(); ++i) {
    if constexpr (width == 8)
      put(bytes, at + 8 * i, 8, bits(a[i]));
    else
      put(bytes, at + width * i, width, a[i]);
  }
}

// Where two images first differ, or -1; a whole-block EXPECT_EQ would print 8 KB.
long firstDifference(const Bytes& a, const Bytes& b) {
  if (a.size() != b.size()) return -2;
  const auto m = std::mismatch(a.begin(), a.end(), b.begin());
  return m.first == a.end() ? -1 : m.first - a.begin();
}

// A NaN with a payload: a decoder that goes through arithmetic would lose it.
const double kPayloadNaN = std::bit_cast<double>(0x7ff8'0000'dead'beefULL);

// Distinct bytes in every header field, so a field read or written one byte
// off cannot match by accident.
constexpr uint16_t kHasData = 0x0A01;
constexpr int32_t kNegativeTime = -123456789;
constexpr int32_t kPositiveTime = 0x65432107;
constexpr uint16_t kEntries = 500;
constexpr uint16_t kBlocks = 97;

Blocks::Values sampleValues() {
  Blocks::Values v;
  for (std::size_t i = 0; i < v.size(); ++i) v[i] = -60.0 + 0.25 * static_cast<double>(i);
  v[0] = Blocks::NO_DATA;
  v[2] = kPayloadNaN;
  v[3] = -0.0;
  v[4] = std::numeric_limits<double>::denorm_min();
  v[5] = -std::numeric_limits<double>::infinity();
  return v;
}
Blocks::Values sampleFrequencies() {
  Blocks::Values f;
  for (std::size_t i = 0; i < f.size(); ++i) f[i] = 5.0 + 0.5 * static_cast<double>(i);
  return f;
}

// Per kind: a sample with every field set, and its byte image written out by
// hand; bytes the image does not name stay zero.
template <typename Block>
struct Kind;

template <>
struct Kind<RibbonBlock> {
  static constexpr std::size_t entryCountAt = 30, blockCountAt = 4;
  static RibbonBlock sample() {
    RibbonBlock b;
    b.hasData = kHasData, b.field2 = 0x0B02, b.blockCount = kBlocks, b.periodStart = kNegativeTime;
    b.periodEnd = kPositiveTime, b.field20 = 0x11223344, b.field24 = 0x0C03, b.field26 = 0x0D04;
    b.field28 = 0x0E05, b.entryCount = kEntries, b.values = sampleValues(),
    b.frequencies = sampleFrequencies();
    return b;
  }
  static Bytes image() {
    Bytes b(Blocks::kRibbonBlockSize);
    put(b, 0, 2, kHasData), put(b, 2, 2, 0x0B02), put(b, 4, 2, kBlocks);
    put(b, 8, 4, static_cast<uint32_t>(kNegativeTime)), put(b, 12, 4, kPositiveTime);
    put(b, 20, 4, 0x11223344), put(b, 24, 2, 0x0C03), put(b, 26, 2, 0x0D04), put(b, 28, 2, 0x0E05);
    put(b, 30, 2, kEntries), putArray(b, 32, sampleValues()), putArray(b, 4032, sampleFrequencies());
    return b;
  }
};

template <>
struct Kind<DayBlock> {
  static constexpr std::size_t entryCountAt = 34, blockCountAt = 4;
  static DayBlock sample() {
    DayBlock b;
    b.hasData = kHasData, b.blockCount = kBlocks, b.periodStart = kNegativeTime, b.periodEnd = kPositiveTime;
    b.windowStart = 79200, b.windowEnd = 108000, b.field28 = 0x0C03, b.field30 = 0x0D04;
    b.entryCount = kEntries, b.values = sampleValues(), b.frequencies = sampleFrequencies();
    return b;
  }
  static Bytes image() {
    Bytes b(Blocks::kDayBlockSize);
    put(b, 0, 2, kHasData), put(b, 4, 2, kBlocks), put(b, 8, 4, static_cast<uint32_t>(kNegativeTime));
    put(b, 12, 4, kPositiveTime), put(b, 16, 4, 79200), put(b, 20, 4, 108000);
    put(b, 28, 2, 0x0C03), put(b, 30, 2, 0x0D04), put(b, 34, 2, kEntries);
    putArray(b, 40, sampleValues()), putArray(b, 4040, sampleFrequencies());
    return b;
  }
};

template <>
struct Kind<FrequencySeriesBlock> {
  static constexpr std::size_t entryCountAt = 40;
  static std::array<uint32_t, Blocks::kMaxEntries> times() {
    std::array<uint32_t, Blocks::kMaxEntries> t;
    // From above 2^31, where a signed read would go negative, to the top.
    for (std::size_t i = 0; i < t.size(); ++i) t[i] = 0x8765'4321u + 900 * static_cast<uint32_t>(i);
    t.back() = 0xFFFF'FFFF;
    return t;
  }
  static FrequencySeriesBlock sample() {
    FrequencySeriesBlock b;
    b.hasData = kHasData, b.labelTime = kNegativeTime, b.entryCount = kEntries, b.values = sampleValues();
    b.times = times();
    return b;
  }
  static Bytes image() {
    Bytes b(Blocks::kFrequencyBlockSize);
    put(b, 0, 2, kHasData), put(b, 8, 4, static_cast<uint32_t>(kNegativeTime)), put(b, 40, 2, kEntries);
    putArray(b, 48, sampleValues()), putArray(b, 4048, times());
    return b;
  }
};

template <>
struct Kind<SummaryBlock> {
  static constexpr std::size_t entryCountAt = 22;
  static SummaryBlock sample() {
    SummaryBlock b;
    b.hasData = kHasData, b.labelTime = kPositiveTime, b.entryCount = kEntries, b.values = sampleValues();
    b.frequencies = sampleFrequencies();
    return b;
  }
  static Bytes image() {
    Bytes b(Blocks::kSummaryBlockSize);
    put(b, 0, 2, kHasData), put(b, 4, 4, kPositiveTime), put(b, 22, 2, kEntries);
    putArray(b, 24, sampleValues()), putArray(b, 4024, sampleFrequencies());
    return b;
  }
};

// What `out` held before a refused decode; it must still hold it afterwards.
template <typename Block>
Block previousContents() {
  Block b{};
  b.hasData = 0x5A5A;
  b.values[0] = 3.5;
  return b;
}

template <typename Block>
class BlockCodecTest : public ::testing::Test {};
using BlockKinds = ::testing::Types<RibbonBlock, DayBlock, FrequencySeriesBlock, SummaryBlock>;
TYPED_TEST_SUITE(BlockCodecTest, BlockKinds);

TYPED_TEST(BlockCodecTest, EncodesTheImageBitForBitAndDecodesItBack) {
  using K = Kind<TypeParam>;
  const Bytes image = K::image();
  EXPECT_EQ(firstDifference(BlockCodec::encode(K::sample()), image), -1);
  TypeParam decoded = previousContents<TypeParam>();
  ASSERT_EQ(BlockCodec::decode(image, decoded), Status::Ok);
  EXPECT_EQ(firstDifference(BlockCodec::encode(decoded), image), -1);

  // Into a larger, dirty buffer: the block's own bytes, nothing after them.
  Bytes buffer(image.size() + 16, 0xAA);
  ASSERT_TRUE(BlockCodec::encodeInto(K::sample(), buffer));
  EXPECT_EQ(firstDifference(Bytes(buffer.begin(), buffer.begin() + image.size()), image), -1);
  EXPECT_EQ(Bytes(buffer.begin() + image.size(), buffer.end()), Bytes(16, 0xAA));
  Bytes tooSmall(image.size() - 1, 0xAA);
  EXPECT_FALSE(BlockCodec::encodeInto(K::sample(), tooSmall));
  EXPECT_EQ(tooSmall, Bytes(image.size() - 1, 0xAA));
}

// Every refusal leaves `out` as it was. An exact-size heap copy lets a
// sanitizer build catch a read past the end of a short buffer.
template <typename Block>
void expectRefused(const Bytes& bytes, Status expected) {
  Block out = previousContents<Block>();
  EXPECT_EQ(BlockCodec::decode(bytes, out), expected);
  EXPECT_EQ(BlockCodec::encode(out), BlockCodec::encode(previousContents<Block>()));
}

TYPED_TEST(BlockCodecTest, ShortBufferAndTooManyEntriesAreRefused) {
  using K = Kind<TypeParam>;
  const Bytes image = K::image();
  expectRefused<TypeParam>({}, Status::ShortBuffer);
  expectRefused<TypeParam>(Bytes(image.begin(), image.end() - 1), Status::ShortBuffer);
  for (uint16_t n : {uint16_t{501}, uint16_t{65535}}) {
    Bytes bytes = image;
    put(bytes, K::entryCountAt, 2, n);
    expectRefused<TypeParam>(bytes, Status::TooManyEntries);
  }
}

TEST(BlockCodecTest, BlockCountAboveTheRibbonsIsRefused) {
  for (uint16_t count : {uint16_t{98}, uint16_t{65535}}) {
    Bytes ribbon = Kind<RibbonBlock>::image(), day = Kind<DayBlock>::image();
    put(ribbon, Kind<RibbonBlock>::blockCountAt, 2, count);
    put(day, Kind<DayBlock>::blockCountAt, 2, count);
    expectRefused<RibbonBlock>(ribbon, Status::TooManyBlocks);
    expectRefused<DayBlock>(day, Status::TooManyBlocks);
  }
}

// Entries 0 and 249 are this one, so one image checks both the layout inside
// an entry and the stride between entries.
ThresholdEntry handPickedEntry() {
  ThresholdEntry e;
  e.inUse = 1, e.kindMask = 0x0A05, e.frequency = 651.25, e.limitSet = {0x0102, 0, 0x0304, 0x0506, 0x0708};
  e.limitLevel = {-12.5, 0.0, 40.25, kPayloadNaN, Blocks::NO_DATA};
  return e;
}

Bytes handPickedImage() {
  Bytes b(Blocks::kThresholdEntrySize);
  put(b, 0, 4, 1), put(b, 6, 2, 0x0A05), put(b, 16, 8, bits(651.25));
  const ThresholdEntry e = handPickedEntry();
  for (std::size_t k = 0; k < 5; ++k)
    put(b, 40 + 32 * k, 2, e.limitSet[k]), put(b, 48 + 32 * k, 8, bits(e.limitLevel[k]));
  return b;
}

ThresholdTable sampleTable() {
  ThresholdTable t;
  for (std::size_t i = 0; i < t.size(); ++i) {
    ThresholdEntry& e = t[i];
    e.inUse = i % 3 == 0 ? 1 : 0;
    e.frequency = 5.0 + 3.25 * static_cast<double>(i);
    for (std::size_t k = 0; k < e.limitSet.size(); ++k) {
      e.limitSet[k] = static_cast<uint16_t>((i + k) % 2 ? 0x0100 + i : 0);
      e.limitLevel[k] = -10.5 * static_cast<double>(k) + static_cast<double>(i);
    }
  }
  t.front() = handPickedEntry();
  t.back() = handPickedEntry();
  return t;
}

TEST(ThresholdTableCodecTest, EntriesMatchTheirImage) {
  Bytes bytes(Blocks::kThresholdTableSize, 0xAA);
  ASSERT_TRUE(BlockCodec::encodeInto(sampleTable(), bytes));
  EXPECT_EQ(bytes, BlockCodec::encode(sampleTable()));
  for (std::size_t base : {std::size_t{0}, 249 * Blocks::kThresholdEntrySize}) {
    const Bytes entry(bytes.begin() + base, bytes.begin() + base + Blocks::kThresholdEntrySize);
    EXPECT_EQ(firstDifference(entry, handPickedImage()), -1) << "entry at " << base;
  }
  Bytes tooSmall(Blocks::kThresholdTableSize - 1);
  EXPECT_FALSE(BlockCodec::encodeInto(sampleTable(), tooSmall));
}

struct TableCase {
  int count;
  std::size_t bufferBytes;
  Status expected;
  std::size_t entriesRead;
};

TEST(ThresholdTableCodecTest, DecodeReadsOnlyTheCountedEntriesThatFit) {
  constexpr std::size_t kEntry = Blocks::kThresholdEntrySize, kTable = Blocks::kThresholdTableSize;
  const TableCase cases[] = {
      {0, kTable, Status::Ok, 0},
      {-1, kTable, Status::Ok, 0},
      {250, kTable, Status::Ok, 250},
      {251, kTable, Status::Ok, 250},  // counts above the table are capped
      {65535, kTable, Status::Ok, 250},
      {3, 3 * kEntry, Status::Ok, 3},
      {250, kTable - 1, Status::ShortBuffer, 249},
      {10, 4 * kEntry + 100, Status::ShortBuffer, 4},
      {10, 0, Status::ShortBuffer, 0},
      {0, 0, Status::Ok, 0},
  };
  const ThresholdTable source = sampleTable();
  const Bytes full = BlockCodec::encode(source);
  ThresholdEntry untouched;
  untouched.inUse = 77;
  for (const TableCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "count " << c.count << ", " << c.bufferBytes << " bytes");
    ThresholdTable out;
    out.fill(untouched);
    EXPECT_EQ(BlockCodec::decode(Bytes(full.begin(), full.begin() + c.bufferBytes), out, c.count),
              c.expected);
    ThresholdTable want = source;
    std::fill(want.begin() + c.entriesRead, want.end(), untouched);
    EXPECT_EQ(BlockCodec::encode(out), BlockCodec::encode(want));
  }
}

}  // namespace
