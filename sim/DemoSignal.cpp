#include "sim/DemoSignal.h"

#include "sim/Pcg32.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

constexpr int32_t kDay = 86400;
constexpr int32_t kOutageSlot = 6 * 3600;

// Shortwave broadcast and amateur bands that leak into the return path.
constexpr std::array<double, 7> kIngressCarriers = {5.95, 7.15, 9.65, 11.85, 13.70, 15.35, 17.75};

// Adding two powers given in dB: the larger plus a correction that depends
// only on their difference, tabulated in 0.1 dB steps.
double powerSum(double a, double b) {
  static const std::array<double, 301> correction = [] {
    std::array<double, 301> t{};
    for (size_t i = 0; i < t.size(); ++i)
      t[i] = 10.0 * std::log10(1.0 + std::pow(10.0, -static_cast<double>(i) / 100.0));
    return t;
  }();
  const double hi = std::max(a, b);
  const double d = hi - std::min(a, b);
  const auto i = static_cast<size_t>(d * 10.0 + 0.5);
  return i < correction.size() ? hi + correction[i] : hi;
}

}  // namespace

DemoSignal::DemoSignal(Profile profile, std::vector<double> plan)
    : m_profile(std::move(profile)), m_plan(std::move(plan)) {
  m_ingressShape.reserve(m_plan.size());
  for (double f : m_plan) {
    double shape = f < 20.0 ? std::pow(1.0 - (f - 5.0) / 15.0, 1.5) : 0.0;
    for (double c : kIngressCarriers) shape = std::max(shape, std::abs(f - c) < 0.2 ? 1.0 : 0.0);
    m_ingressShape.push_back(f < 20.0 ? std::clamp(shape, 0.0, 1.0) : 0.0);
  }
}

double DemoSignal::eveningFactor(int32_t time) {
  const double hour = static_cast<double>(((time % kDay) + kDay) % kDay) / 3600.0;
  double distance = std::abs(hour - 20.5);  // the worst hour, on a 24 h circle
  distance = std::min(distance, 24.0 - distance);
  return 0.15 + 0.85 * std::exp(-(distance / 3.5) * (distance / 3.5));
}

bool DemoSignal::isWeekend(int32_t time) {
  const int64_t day = (int64_t{time} - (((time % kDay) + kDay) % kDay)) / kDay;
  const int64_t weekday = ((day + 4) % 7 + 7) % 7;  // 1970-01-01 was a Thursday; 0 = Sunday
  return weekday == 0 || weekday == 6;
}

double DemoSignal::carrierWeight(double f, double& level) const {
  constexpr double kSkirt = 0.3;  // MHz over which a channel edge falls to the floor
  for (const Carrier& c : m_profile.carriers) {
    const double inside = c.widthMHz / 2 - std::abs(f - c.centreMHz);
    if (inside >= 0) {
      level = c.levelDbmv;
      return 1.0;
    }
    if (inside > -kSkirt) {
      level = c.levelDbmv;
      return 1.0 + inside / kSkirt;  // fraction of the way up the skirt
    }
  }
  return 0.0;
}

bool DemoSignal::scan(int32_t time, int32_t quietFrom, std::span<float> out) const {
  const auto node = static_cast<uint64_t>(m_profile.node);
  // Long outages: a few whole six-hour slots without scans.
  const int32_t slot = static_cast<int32_t>(std::floor(time / static_cast<double>(kOutageSlot)));
  if (time < quietFrom && Pcg32(Pcg32::mix(node, static_cast<uint64_t>(slot), 1)).below(60) == 0)
    return false;

  Pcg32 rng(Pcg32::mix(node, static_cast<uint64_t>(static_cast<uint32_t>(time)), 2));
  if (rng.uniform() < 0.004) return false;  // a single missed scan

  const double evening = eveningFactor(time);
  const double ingressRise = m_profile.ingressDb * evening + (isWeekend(time) ? 4.0 : 0.0);
  const bool burst = rng.uniform() < m_profile.burstChance;
  const double burstDb = burst ? 10.0 + 20.0 * rng.uniform() : 0.0;
  const double ingressBase = m_profile.floorDbmv - 4.0;
  // Which few frequencies this scan missed.
  size_t holeFrom = out.size(), holeTo = out.size();
  if (rng.uniform() < 0.03 && !out.empty()) {
    holeFrom = rng.below(static_cast<uint32_t>(out.size()));
    holeTo = std::min(out.size(), holeFrom + 1 + rng.below(6));
  }

  const size_t n = std::min(out.size(), m_plan.size());
  for (size_t i = 0; i < n; ++i) {
    const double f = m_plan[i];
    double level = m_profile.floorDbmv + m_profile.floorSpread * rng.gaussian();
    if (m_ingressShape[i] > 0) {
      const double ingress = ingressBase + ingressRise * m_ingressShape[i] + 2.0 * rng.gaussian();
      level = powerSum(level, ingress);
    }
    if (burst && f < 40.0) level = powerSum(level, m_profile.floorDbmv + burstDb * (1.0 - f / 40.0));
    double carrier = 0.0;
    const double weight = carrierWeight(f, carrier);
    if (weight > 0) {
      const double top = carrier + 0.3 * rng.gaussian();
      level = weight >= 1.0 ? top : powerSum(level, top - 40.0 * (1.0 - weight));
    }
    out[i] =
        (i >= holeFrom && i < holeTo) ? std::numeric_limits<float>::quiet_NaN() : static_cast<float>(level);
  }
  for (size_t i = n; i < out.size(); ++i) out[i] = std::numeric_limits<float>::quiet_NaN();
  return true;
}
