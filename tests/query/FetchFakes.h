#pragma once

#include "query/FetchPacing.h"
#include "query/IFetchReporter.h"
#include "support/FakeServerObjects.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class RecordingReporter : public IFetchReporter {
public:
  std::vector<std::pair<HRESULT, int>> errors;
  int noData = 0;

  void reportServerError(HRESULT code, int contextStringId) override {
    errors.emplace_back(code, contextStringId);
  }
  void showNoData() override { ++noData; }
};

// Pacing whose sleep only notes the wait asked for.
struct RecordingPacing {
  std::vector<long> waits;
  std::function<void()> onWait;
  FetchPacing pacing;

  RecordingPacing() {
    pacing.sleep = [this](std::chrono::milliseconds d) {
      waits.push_back(static_cast<long>(d.count()));
      if (onWait) onWait();
    };
  }
  RecordingPacing(const RecordingPacing&) = delete;
  RecordingPacing& operator=(const RecordingPacing&) = delete;
};
