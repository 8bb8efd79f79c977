#include "sim/FaultPlan.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

bool parseNumber(const std::string& text, long long& out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  out = std::strtoll(text.c_str(), &end, 0);
  return errno == 0 && end && *end == '\0';
}

}  // namespace

const std::vector<std::string_view>& FaultPlan::callNames() {
  static const std::vector<std::string_view> names = {"Connect",
                                                      "OpenSession",
                                                      "CloseSession",
                                                      "StartSummaryRequest",
                                                      "ReadSummaryBlock",
                                                      "StartFrequencyRequest",
                                                      "ReadFrequencyBlock",
                                                      "StartRibbonRequest",
                                                      "NextBlock",
                                                      "EndRequest",
                                                      "ReadRibbonBlock",
                                                      "ReadDayBlock",
                                                      "StartDayRequest",
                                                      "KeepAlive",
                                                      "GetThresholdTable",
                                                      "CheckPermission",
                                                      "GetTime"};
  return names;
}

FaultPlan::FaultPlan(FaultPlan&& other) noexcept {
  std::lock_guard lock(other.m_mutex);
  m_rules = std::move(other.m_rules);
}

FaultPlan& FaultPlan::operator=(FaultPlan&& other) noexcept {
  if (this != &other) {
    std::scoped_lock lock(m_mutex, other.m_mutex);
    m_rules = std::move(other.m_rules);
  }
  return *this;
}

std::optional<FaultPlan> FaultPlan::parse(const std::vector<std::string>& rules, std::string* error) {
  FaultPlan plan;
  for (const std::string& text : rules) {
    auto refuse = [&](const std::string& why) {
      if (error) *error = "fault \"" + text + "\": " + why;
      return std::nullopt;
    };
    const auto a = text.find(':');
    const auto b = a == std::string::npos ? a : text.find(':', a + 1);
    if (b == std::string::npos) return refuse("expected KIND:CALL:VALUE");
    const std::string kind = text.substr(0, a);
    const std::string call = text.substr(a + 1, b - a - 1);
    long long value = 0;
    if (!parseNumber(text.substr(b + 1), value)) return refuse("the value is not a number");
    const auto& names = callNames();
    if (std::find(names.begin(), names.end(), call) == names.end()) return refuse("unknown call " + call);

    Rule rule{Kind::Busy, call, value};
    if (kind == "busy") {
      rule.kind = Kind::Busy;
    } else if (kind == "notready") {
      rule.kind = Kind::NotReady;
    } else if (kind == "fail" || kind == "answer") {
      rule.kind = kind == "fail" ? Kind::Fail : Kind::Answer;
      if (value < INT32_MIN || value > UINT32_MAX) return refuse("the code does not fit 32 bits");
      rule.amount = static_cast<HRESULT>(static_cast<uint32_t>(value));
    } else if (kind == "delay") {
      rule.kind = Kind::Delay;
    } else {
      return refuse("unknown kind " + kind + " (busy, notready, fail, delay, answer)");
    }
    if (rule.kind != Kind::Fail && rule.kind != Kind::Answer && value < 0)
      return refuse("a count or delay cannot be negative");
    plan.m_rules.push_back(std::move(rule));
  }
  return plan;
}

std::optional<HRESULT> FaultPlan::before(std::string_view call) {
  long long delayMs = 0;
  std::optional<HRESULT> answer;
  {
    std::lock_guard lock(m_mutex);
    for (Rule& r : m_rules) {
      if (r.call != call) continue;
      switch (r.kind) {
        case Kind::Delay: delayMs += r.amount; break;
        case Kind::Fail:
          if (!answer) answer = static_cast<HRESULT>(r.amount);
          break;
        case Kind::Answer: break;
        case Kind::Busy:
        case Kind::NotReady:
          if (!answer && r.amount > 0) {
            --r.amount;
            answer = r.kind == Kind::Busy ? hr::kBusy : hr::kNotReady;
          }
          break;
      }
    }
  }
  if (delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
  return answer;
}

HRESULT FaultPlan::after(std::string_view call, HRESULT result) {
  if (result != hr::S_OK) return result;
  std::lock_guard lock(m_mutex);
  for (const Rule& r : m_rules)
    if (r.kind == Kind::Answer && r.call == call) return static_cast<HRESULT>(r.amount);
  return result;
}
