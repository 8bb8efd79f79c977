// The words after "--launch": an answer or a message, never both; an answer
// names one of the five methods as the interface spells it, and parsing is
// blind to the method name's letter case.
#include "app/LaunchRequest.h"
#include "fuzz/FuzzInput.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const QStringList words = wordsFrom(data, size);
  QString error;
  const auto call = AutomationCall::parseLaunch(words, &error);
  FUZZ_CHECK(call.has_value() == error.isEmpty());
  if (!call) return 0;

  static const QStringList methods{"LaunchORB", "LaunchWithDates", "LaunchORBWithThreshNames",
                                   "LaunchWithDatesAndThreshNames", "SetFreqRange"};
  FUZZ_CHECK(methods.contains(call->method));
  FUZZ_CHECK(std::isfinite(call->low) && std::isfinite(call->high));
  FUZZ_CHECK(std::isfinite(call->start) && std::isfinite(call->end));

  QStringList shouted = words;
  shouted[0] = shouted[0].toUpper();
  QString again;
  const auto same = AutomationCall::parseLaunch(shouted, &again);
  FUZZ_CHECK(same && *same == *call);
  return 0;
}
