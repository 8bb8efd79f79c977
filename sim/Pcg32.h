#pragma once

#include <cstdint>

// A small permuted congruential generator (PCG-XSH-RR). Its output depends
// only on the seed, unlike the standard library's distributions, so demo
// data is the same with every compiler and library.
class Pcg32 {
public:
  explicit Pcg32(uint64_t seed, uint64_t stream = 0x853c49e6748fea9bULL) : m_inc((stream << 1) | 1u) {
    next();
    m_state += seed;
    next();
  }

  uint32_t next() {
    const uint64_t old = m_state;
    m_state = old * 6364136223846793005ULL + m_inc;
    const auto xorshifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
    const auto rot = static_cast<uint32_t>(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
  }

  // Uniform in [0, 1).
  double uniform() { return next() * (1.0 / 4294967296.0); }

  // Uniform integer in [0, n).
  uint32_t below(uint32_t n) { return static_cast<uint32_t>((uint64_t{next()} * n) >> 32); }

  // Roughly normal with mean 0 and deviation 1: the sum of four uniforms,
  // which needs no library function whose last bits could differ.
  double gaussian() {
    constexpr double kScale = 1.7320508075688772;  // sqrt(12 / 4)
    return (uniform() + uniform() + uniform() + uniform() - 2.0) * kScale;
  }

  // Mixes several numbers into one seed (SplitMix64 finaliser).
  static uint64_t mix(uint64_t a, uint64_t b = 0, uint64_t c = 0) {
    uint64_t z = a * 0x9E3779B97F4A7C15ULL ^ (b + 0x632BE59BD9B4E019ULL) * 0xBF58476D1CE4E5B9ULL ^
                 (c + 0x94D049BB133111EBULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

private:
  uint64_t m_state = 0;
  uint64_t m_inc;
};
