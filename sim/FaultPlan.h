#pragma once

#include "server/HResult.h"

#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Scripted misbehaviour for failure tests, one rule per text:
//   busy:CALL:N       answer 0x80044316 to the next N calls of CALL
//   notready:CALL:N   answer 0x00044313 (nothing written) to the next N calls
//   fail:CALL:CODE    answer CODE (decimal or 0x hex) to every call of CALL
//   delay:CALL:MS     sleep MS milliseconds before answering CALL
//   answer:CALL:CODE  do the call's work, then answer CODE where it answered 0
// CALL is an interface method name such as StartRibbonRequest. Every object
// method asks before() first; a code it answers replaces the call's work.
class FaultPlan {
public:
  static std::optional<FaultPlan> parse(const std::vector<std::string>& rules, std::string* error);

  FaultPlan() = default;
  FaultPlan(FaultPlan&& other) noexcept;
  FaultPlan& operator=(FaultPlan&& other) noexcept;

  // Applies the delays of `call`, then answers the code of the first rule
  // that still fires, or nothing when the call should run normally.
  std::optional<HRESULT> before(std::string_view call);
  // The answer of a call that did its work: an answer rule's code in place
  // of 0, else `result` unchanged.
  HRESULT after(std::string_view call, HRESULT result);

  // The method names a rule may name.
  static const std::vector<std::string_view>& callNames();

private:
  enum class Kind { Busy, NotReady, Fail, Delay, Answer };
  struct Rule {
    Kind kind;
    std::string call;
    long long amount;  // remaining count, code, or milliseconds
  };
  std::mutex m_mutex;
  std::vector<Rule> m_rules;
};
