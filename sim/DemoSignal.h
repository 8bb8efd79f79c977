#pragma once

#include <cstdint>
#include <span>
#include <vector>

// The made-up spectrum of one demo port: a noise floor, flat-topped
// carriers, ingress below 20 MHz that grows in the evening and at weekends,
// short broadband bursts, and holes (missed scans, missed frequencies).
// A scan is a function of the port and the scan time (and of where the
// quiet days begin), so the data does not depend on the order of seeding.
class DemoSignal {
public:
  struct Carrier {
    double centreMHz;
    double widthMHz;
    double levelDbmv;
  };
  struct Profile {
    int32_t node = 0;
    double floorDbmv = -8.0;    // mean noise floor
    double floorSpread = 1.0;   // its deviation, dB
    double ingressDb = 15.0;    // ingress rise at the low band edge on a weekday evening
    double burstChance = 0.02;  // per scan
    std::vector<Carrier> carriers;
  };

  DemoSignal(Profile profile, std::vector<double> plan);

  // Fills `out` (one level per plan frequency, NaN = not measured) with the
  // scan at `time`; false when the port took no scan then. `quietFrom`: no
  // long outages at or after this time, so the latest reports have data.
  bool scan(int32_t time, int32_t quietFrom, std::span<float> out) const;

  // 0..1: how strong ingress is at this time of day (UTC hours).
  static double eveningFactor(int32_t time);
  static bool isWeekend(int32_t time);

private:
  double carrierWeight(double f, double& level) const;

  Profile m_profile;
  std::vector<double> m_plan;
  std::vector<double> m_ingressShape;  // per plan frequency, 0..1
};
