#pragma once

#include "query/FetchFlags.h"
#include "query/FetchPacing.h"
#include "query/GraphQuery.h"
#include "query/IFetchReporter.h"
#include "resources/Strings.h"
#include "support/FakeServerObjects.h"

#include <chrono>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

constexpr int kRequest = Strings::IDS_CTX_REQUEST_FAILED;
constexpr int kRead = Strings::IDS_CTX_READ_DATA_FAILED;
using Errors = std::vector<std::pair<HRESULT, int>>;

class RecordingReporter : public IFetchReporter {
public:
  Errors errors;
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
};

// One fetch against the fake server, with what it reported, waited and stored.
template <class Fetch, class Store>
struct FetchRig {
  FakeDataServer server;
  RecordingReporter reporter;
  RecordingPacing pacing;
  FetchFlags flags;
  Store store;

  FetchRig() { flags.reset(); }
  int fetch(const GraphQuery& q) { return Fetch().run(server, q, flags, reporter, pacing.pacing, store); }
  // The user's Cancel, pressed during the n-th wait.
  void cancelOnWait(int n) {
    pacing.onWait = [this, n] {
      if (static_cast<int>(pacing.waits.size()) == n) flags.running = 0;
    };
  }
};
