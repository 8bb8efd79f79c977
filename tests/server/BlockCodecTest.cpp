#include "server/BlockCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

namespace {

using BlockCodec::Status;
using Bytes = std::vector<uint8_t>;

// The test's own little-endian access, independent of the codec's helpers.
uint64_t readLE(const Bytes& bytes, std::size_t at, int width) {
  uint64_t v = 0;
  for (int i = 0; i < width; ++i) v |= static_cast<uint64_t>(bytes.at(at + i)) << (8 * i);
  return v;
}

void writeLE(Bytes& bytes, std::size_t at, int width, uint64_t v) {
  for (int i = 0; i < width; ++i) bytes.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
}

uint64_t bits(double d) { return std::bit_cast<uint64_t>(d); }

// A NaN with a payload: a decoder that goes through arithmetic would lose it.
const double kPayloadNaN = std::bit_cast<double>(0x7ff8'0000'dead'beefULL);

// Distinct bytes in every header field, so a field read or written one byte
// off cannot match by accident.
constexpr uint16_t kHasData = 0x0A01;
constexpr int32_t kNegativeTime = -123456789;
constexpr int32_t kPositiveTime = 0x65432107;
constexpr uint16_t kEntries = 500;
constexpr uint16_t kBlocks = 97;
constexpr double kLastValue = -99.75;
constexpr double kFirstFrequency = 5.0;
constexpr double kLastFrequency = 254.5;
constexpr uint32_t kFirstTime = 0x8765'4321;  // above 2^31: read as signed it would go negative
constexpr uint32_t kLastTime = 0xFFFF'FFFF;

Blocks::Values sampleValues() {
  Blocks::Values v;
  for (std::size_t i = 0; i < v.size(); ++i) v[i] = -60.0 + 0.25 * static_cast<double>(i);
  v[0] = Blocks::NO_DATA;
  v[1] = -42.5;
  v[2] = kPayloadNaN;
  v[3] = -0.0;
  v[4] = std::numeric_limits<double>::denorm_min();
  v[5] = -std::numeric_limits<double>::infinity();
  v[499] = kLastValue;
  return v;
}

Blocks::Values sampleFrequencies() {
  Blocks::Values f;
  for (std::size_t i = 0; i < f.size(); ++i) f[i] = kFirstFrequency + 0.5 * static_cast<double>(i);
  return f;
}

bool sameBits(const Blocks::Values& a, const Blocks::Values& b) {
  return std::memcmp(a.data(), b.data(), sizeof a) == 0;
}

bool same(const RibbonBlock& a, const RibbonBlock& b) {
  auto header = [](const RibbonBlock& x) {
    return std::tie(x.hasData, x.field2, x.blockCount, x.periodStart, x.periodEnd, x.field20,
                    x.field24, x.field26, x.field28, x.entryCount);
  };
  return header(a) == header(b) && sameBits(a.values, b.values) && sameBits(a.frequencies, b.frequencies);
}
bool same(const DayBlock& a, const DayBlock& b) {
  auto header = [](const DayBlock& x) {
    return std::tie(x.hasData, x.blockCount, x.periodStart, x.periodEnd, x.windowStart, x.windowEnd,
                    x.entryCount);
  };
  return header(a) == header(b) && sameBits(a.values, b.values) && sameBits(a.frequencies, b.frequencies);
}
bool same(const FrequencySeriesBlock& a, const FrequencySeriesBlock& b) {
  return std::tie(a.hasData, a.labelTime, a.entryCount, a.times) ==
             std::tie(b.hasData, b.labelTime, b.entryCount, b.times) &&
         sameBits(a.values, b.values);
}
bool same(const SummaryBlock& a, const SummaryBlock& b) {
  return std::tie(a.hasData, a.labelTime, a.entryCount) == std::tie(b.hasData, b.labelTime, b.entryCount) &&
         sameBits(a.values, b.values) && sameBits(a.frequencies, b.frequencies);
}

struct Field {
  std::size_t at;
  int width;
  uint64_t expected;
};

struct Range {
  std::size_t at;
  std::size_t length;
};

// Per kind: its size, where its counts sit, a sample with every field set, the
// byte image of that sample's header and array ends, and the array ranges.
template <typename Block>
struct Kind;

template <>
struct Kind<RibbonBlock> {
  static constexpr std::size_t size = Blocks::kRibbonBlockSize;
  static constexpr std::size_t entryCountAt = 30;
  static constexpr std::size_t blockCountAt = 4;
  static RibbonBlock sample() {
    RibbonBlock b;
    b.hasData = kHasData;
    b.field2 = 0x0B02;
    b.blockCount = kBlocks;
    b.periodStart = kNegativeTime;
    b.periodEnd = kPositiveTime;
    b.field20 = 0x11223344;
    b.field24 = 0x0C03;
    b.field26 = 0x0D04;
    b.field28 = 0x0E05;
    b.entryCount = kEntries;
    b.values = sampleValues();
    b.frequencies = sampleFrequencies();
    return b;
  }
  static std::vector<Field> fields() {
    return {{0, 2, kHasData},
            {2, 2, 0x0B02},
            {4, 2, kBlocks},
            {8, 4, static_cast<uint32_t>(kNegativeTime)},
            {12, 4, kPositiveTime},
            {20, 4, 0x11223344},
            {24, 2, 0x0C03},
            {26, 2, 0x0D04},
            {28, 2, 0x0E05},
            {30, 2, kEntries},
            {32, 8, bits(Blocks::NO_DATA)},
            {4024, 8, bits(kLastValue)},
            {4032, 8, bits(kFirstFrequency)},
            {8024, 8, bits(kLastFrequency)}};
  }
  static std::vector<Range> arrays() { return {{32, 4000}, {4032, 4000}}; }
};

template <>
struct Kind<DayBlock> {
  static constexpr std::size_t size = Blocks::kDayBlockSize;
  static constexpr std::size_t entryCountAt = 34;
  static constexpr std::size_t blockCountAt = 4;
  static DayBlock sample() {
    DayBlock b;
    b.hasData = kHasData;
    b.blockCount = kBlocks;
    b.periodStart = kNegativeTime;
    b.periodEnd = kPositiveTime;
    b.windowStart = 79200;   // 22:00
    b.windowEnd = 108000;    // 06:00 the next day
    b.entryCount = kEntries;
    b.values = sampleValues();
    b.frequencies = sampleFrequencies();
    return b;
  }
  static std::vector<Field> fields() {
    return {{0, 2, kHasData},
            {4, 2, kBlocks},
            {8, 4, static_cast<uint32_t>(kNegativeTime)},
            {12, 4, kPositiveTime},
            {16, 4, 79200},
            {20, 4, 108000},
            {34, 2, kEntries},
            {40, 8, bits(Blocks::NO_DATA)},
            {4032, 8, bits(kLastValue)},
            {4040, 8, bits(kFirstFrequency)},
            {8032, 8, bits(kLastFrequency)}};
  }
  static std::vector<Range> arrays() { return {{40, 4000}, {4040, 4000}}; }
};

template <>
struct Kind<FrequencySeriesBlock> {
  static constexpr std::size_t size = Blocks::kFrequencyBlockSize;
  static constexpr std::size_t entryCountAt = 40;
  static FrequencySeriesBlock sample() {
    FrequencySeriesBlock b;
    b.hasData = kHasData;
    b.labelTime = kNegativeTime;
    b.entryCount = kEntries;
    b.values = sampleValues();
    for (std::size_t i = 0; i < b.times.size(); ++i) b.times[i] = kFirstTime + 900 * static_cast<uint32_t>(i);
    b.times.back() = kLastTime;
    return b;
  }
  static std::vector<Field> fields() {
    return {{0, 2, kHasData},
            {8, 4, static_cast<uint32_t>(kNegativeTime)},
            {40, 2, kEntries},
            {48, 8, bits(Blocks::NO_DATA)},
            {4040, 8, bits(kLastValue)},
            {4048, 4, kFirstTime},
            {6044, 4, kLastTime}};
  }
  static std::vector<Range> arrays() { return {{48, 4000}, {4048, 2000}}; }
};

template <>
struct Kind<SummaryBlock> {
  static constexpr std::size_t size = Blocks::kSummaryBlockSize;
  static constexpr std::size_t entryCountAt = 22;
  static SummaryBlock sample() {
    SummaryBlock b;
    b.hasData = kHasData;
    b.labelTime = kPositiveTime;
    b.entryCount = kEntries;
    b.values = sampleValues();
    b.frequencies = sampleFrequencies();
    return b;
  }
  static std::vector<Field> fields() {
    return {{0, 2, kHasData},
            {4, 4, kPositiveTime},
            {22, 2, kEntries},
            {24, 8, bits(Blocks::NO_DATA)},
            {4016, 8, bits(kLastValue)},
            {4024, 8, bits(kFirstFrequency)},
            {8016, 8, bits(kLastFrequency)}};
  }
  static std::vector<Range> arrays() { return {{24, 4000}, {4024, 4000}}; }
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

TYPED_TEST(BlockCodecTest, RoundTripKeepsEveryBit) {
  using K = Kind<TypeParam>;
  const TypeParam sample = K::sample();
  const Bytes bytes = BlockCodec::encode(sample);
  ASSERT_EQ(bytes.size(), K::size);
  TypeParam decoded = previousContents<TypeParam>();
  ASSERT_EQ(BlockCodec::decode(bytes, decoded), Status::Ok);
  EXPECT_TRUE(same(decoded, sample));
}

TYPED_TEST(BlockCodecTest, FieldsSitAtTheirOffsets) {
  const Bytes bytes = BlockCodec::encode(Kind<TypeParam>::sample());
  for (const Field& f : Kind<TypeParam>::fields()) {
    SCOPED_TRACE(::testing::Message() << "byte " << f.at << ", width " << f.width);
    EXPECT_EQ(readLE(bytes, f.at, f.width), f.expected);
  }
}

TYPED_TEST(BlockCodecTest, EncodeIntoClearsUnnamedBytesAndStopsAtTheBlockEnd) {
  using K = Kind<TypeParam>;
  constexpr uint8_t kDirt = 0xAA;
  Bytes buffer(K::size + 16, kDirt);
  ASSERT_TRUE(BlockCodec::encodeInto(K::sample(), buffer));

  std::vector<bool> named(K::size, false);
  for (const Field& f : K::fields()) std::fill_n(named.begin() + f.at, f.width, true);
  for (const Range& r : K::arrays()) std::fill_n(named.begin() + r.at, r.length, true);
  for (std::size_t i = 0; i < K::size; ++i) {
    if (!named[i]) {
      EXPECT_EQ(buffer[i], 0) << "unnamed byte " << i;
    }
  }
  for (std::size_t i = K::size; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], kDirt) << "byte " << i;

  Bytes tooSmall(K::size - 1, kDirt);
  EXPECT_FALSE(BlockCodec::encodeInto(K::sample(), tooSmall));
  EXPECT_EQ(tooSmall, Bytes(K::size - 1, kDirt));
}

TYPED_TEST(BlockCodecTest, ShortBufferIsRefused) {
  using K = Kind<TypeParam>;
  const Bytes full = BlockCodec::encode(K::sample());
  for (std::size_t length : {std::size_t{0}, K::size - 1}) {
    SCOPED_TRACE(::testing::Message() << length << " bytes");
    // An exact-size heap copy lets a sanitizer build catch a read past its end.
    const Bytes shortened(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length));
    TypeParam out = previousContents<TypeParam>();
    EXPECT_EQ(BlockCodec::decode(shortened, out), Status::ShortBuffer);
    EXPECT_TRUE(same(out, previousContents<TypeParam>()));
  }
}

TYPED_TEST(BlockCodecTest, EntryCountAboveTheArraysIsRefused) {
  using K = Kind<TypeParam>;
  for (uint16_t n : {uint16_t{501}, uint16_t{65535}}) {
    SCOPED_TRACE(::testing::Message() << "N = " << n);
    Bytes bytes = BlockCodec::encode(K::sample());
    writeLE(bytes, K::entryCountAt, 2, n);
    TypeParam out = previousContents<TypeParam>();
    EXPECT_EQ(BlockCodec::decode(bytes, out), Status::TooManyEntries);
    EXPECT_TRUE(same(out, previousContents<TypeParam>()));
  }
}

template <typename Block>
class MultiBlockCodecTest : public ::testing::Test {};
using MultiBlockKinds = ::testing::Types<RibbonBlock, DayBlock>;
TYPED_TEST_SUITE(MultiBlockCodecTest, MultiBlockKinds);

TYPED_TEST(MultiBlockCodecTest, BlockCountAboveTheRibbonsIsRefused) {
  using K = Kind<TypeParam>;
  for (uint16_t count : {uint16_t{98}, uint16_t{65535}}) {
    SCOPED_TRACE(::testing::Message() << "blocks = " << count);
    Bytes bytes = BlockCodec::encode(K::sample());
    writeLE(bytes, K::blockCountAt, 2, count);
    TypeParam out = previousContents<TypeParam>();
    EXPECT_EQ(BlockCodec::decode(bytes, out), Status::TooManyBlocks);
    EXPECT_TRUE(same(out, previousContents<TypeParam>()));
  }
}

// Entries 0 and 249 are identical, so one byte image checks both the layout
// inside an entry and the stride between entries.
ThresholdEntry handPickedEntry() {
  ThresholdEntry e;
  e.inUse = 1;
  e.kindMask = 0x0A05;
  e.frequency = 651.25;
  e.limitSet = {0x0102, 0, 0x0304, 0x0506, 0x0708};
  e.limitLevel = {-12.5, 0.0, 40.25, kPayloadNaN, Blocks::NO_DATA};
  return e;
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

bool same(const ThresholdEntry& a, const ThresholdEntry& b) {
  return a.inUse == b.inUse && a.kindMask == b.kindMask && bits(a.frequency) == bits(b.frequency) && a.limitSet == b.limitSet &&
         std::memcmp(a.limitLevel.data(), b.limitLevel.data(), sizeof a.limitLevel) == 0;
}

TEST(ThresholdTableCodecTest, EntriesSitAtTheirOffsetsAndUnnamedBytesAreCleared) {
  const ThresholdEntry e = handPickedEntry();
  const std::vector<Field> entryFields = {
      {0, 4, 1},
      {6, 2, 0x0A05},
      {16, 8, bits(e.frequency)},
      {40, 2, 0x0102},  {48, 8, bits(-12.5)},
      {72, 2, 0},       {80, 8, bits(0.0)},
      {104, 2, 0x0304}, {112, 8, bits(40.25)},
      {136, 2, 0x0506}, {144, 8, bits(kPayloadNaN)},
      {168, 2, 0x0708}, {176, 8, bits(Blocks::NO_DATA)}};

  Bytes bytes(Blocks::kThresholdTableSize, 0xAA);
  ASSERT_TRUE(BlockCodec::encodeInto(sampleTable(), bytes));
  EXPECT_EQ(bytes, BlockCodec::encode(sampleTable()));
  for (std::size_t base : {std::size_t{0}, 249 * Blocks::kThresholdEntrySize}) {
    std::vector<bool> named(Blocks::kThresholdEntrySize, false);
    for (const Field& f : entryFields) {
      SCOPED_TRACE(::testing::Message() << "entry at " << base << ", byte " << f.at);
      EXPECT_EQ(readLE(bytes, base + f.at, f.width), f.expected);
      std::fill_n(named.begin() + f.at, f.width, true);
    }
    for (std::size_t i = 0; i < named.size(); ++i) {
      if (!named[i]) {
        EXPECT_EQ(bytes[base + i], 0) << "entry at " << base << ", unnamed byte " << i;
      }
    }
  }

  Bytes tooSmall(Blocks::kThresholdTableSize - 1);
  EXPECT_FALSE(BlockCodec::encodeInto(sampleTable(), tooSmall));
}

struct TableCase {
  const char* name;
  int count;
  std::size_t bufferBytes;
  Status expected;
  std::size_t entriesRead;
};

void PrintTo(const TableCase& c, std::ostream* os) { *os << c.name; }

class ThresholdTableDecodeTest : public ::testing::TestWithParam<TableCase> {};

TEST_P(ThresholdTableDecodeTest, ReadsOnlyTheCountedEntriesThatFit) {
  const TableCase& c = GetParam();
  const ThresholdTable source = sampleTable();
  const Bytes full = BlockCodec::encode(source);
  const Bytes buffer(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(c.bufferBytes));

  ThresholdEntry untouched;
  untouched.inUse = 77;
  ThresholdTable out;
  out.fill(untouched);

  EXPECT_EQ(BlockCodec::decode(buffer, out, c.count), c.expected);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const ThresholdEntry& want = i < c.entriesRead ? source[i] : untouched;
    EXPECT_TRUE(same(out[i], want)) << "entry " << i;
  }
}

constexpr std::size_t kEntry = Blocks::kThresholdEntrySize;
constexpr std::size_t kTable = Blocks::kThresholdTableSize;

INSTANTIATE_TEST_SUITE_P(
    Counts, ThresholdTableDecodeTest,
    ::testing::Values(TableCase{"NoEntries", 0, kTable, Status::Ok, 0},
                      TableCase{"NegativeCount", -1, kTable, Status::Ok, 0},
                      TableCase{"FullTable", 250, kTable, Status::Ok, 250},
                      TableCase{"CountAboveTableIsCapped", 251, kTable, Status::Ok, 250},
                      TableCase{"HugeCountIsCapped", 65535, kTable, Status::Ok, 250},
                      TableCase{"BufferHoldsJustTheCount", 3, 3 * kEntry, Status::Ok, 3},
                      TableCase{"LastEntryCutShort", 250, kTable - 1, Status::ShortBuffer, 249},
                      TableCase{"BufferEndsInsideAnEntry", 10, 4 * kEntry + 100, Status::ShortBuffer, 4},
                      TableCase{"EmptyBuffer", 10, 0, Status::ShortBuffer, 0},
                      TableCase{"EmptyBufferNoCount", 0, 0, Status::Ok, 0}),
    [](const ::testing::TestParamInfo<TableCase>& p) { return std::string(p.param.name); });

}  // namespace
