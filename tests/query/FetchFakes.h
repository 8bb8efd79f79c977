#pragma once

#include "query/FetchPacing.h"
#include "query/IFetchReporter.h"
#include "server/BlockCodec.h"
#include "server/INembraDataServer.h"
#include "server/INembraThreshold.h"
#include "server/IServerObjects.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// In-process stand-ins for the server objects: every call is logged, its
// answer comes from a script (a queue per kind of call; an empty queue
// answers S_OK), and a successful read hands out the next scripted block.
class FakeDataServer : public INembraDataServer {
public:
  std::deque<HRESULT> startAnswers;
  std::deque<HRESULT> nextAnswers;
  std::deque<HRESULT> readAnswers;
  std::deque<std::vector<uint8_t>> blocks;
  // Answered by every start, next or read call once its queue is empty, so a
  // test can keep the server busy or unready for as long as it likes.
  HRESULT startWhenDry = hr::S_OK;
  HRESULT nextWhenDry = hr::S_OK;
  HRESULT readWhenDry = hr::S_OK;

  std::vector<std::string> calls;
  std::vector<std::vector<double>> startArgs;
  std::vector<int32_t> readHandles;
  std::function<void(const std::string& call)> onCall;

  int count(const std::string& call) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
  }

  HRESULT Connect() override { return log("Connect"); }
  HRESULT OpenSession(int32_t, int32_t) override { return log("OpenSession"); }
  HRESULT CloseSession() override { return log("CloseSession"); }
  HRESULT KeepAlive() override { return log("KeepAlive"); }

  HRESULT StartSummaryRequest(int32_t start, int32_t end, int32_t statistic, int32_t* handle) override {
    return started("StartSummaryRequest", {double(start), double(end), double(statistic)}, handle);
  }
  HRESULT StartFrequencyRequest(int32_t start, int32_t end, int32_t interval, int32_t statistic, double mhz,
                                int32_t* handle) override {
    return started("StartFrequencyRequest",
                   {double(start), double(end), double(interval), double(statistic), mhz}, handle);
  }
  HRESULT StartRibbonRequest(int32_t start, int32_t end, int32_t interval, int32_t statistic,
                             int32_t* handle) override {
    return started("StartRibbonRequest", {double(start), double(end), double(interval), double(statistic)},
                   handle);
  }
  HRESULT StartDayRequest(int32_t firstDay, int32_t lastDay, int32_t windowStart, int32_t windowEnd,
                          int32_t statistic, int32_t* handle) override {
    return started(
        "StartDayRequest",
        {double(firstDay), double(lastDay), double(windowStart), double(windowEnd), double(statistic)},
        handle);
  }

  HRESULT ReadSummaryBlock(int32_t h, std::span<uint8_t, Blocks::kSummaryBlockSize> b) override {
    return read("ReadSummaryBlock", h, b);
  }
  HRESULT ReadFrequencyBlock(int32_t h, std::span<uint8_t, Blocks::kFrequencyBlockSize> b) override {
    return read("ReadFrequencyBlock", h, b);
  }
  HRESULT ReadRibbonBlock(int32_t h, std::span<uint8_t, Blocks::kRibbonBlockSize> b) override {
    return read("ReadRibbonBlock", h, b);
  }
  HRESULT ReadDayBlock(int32_t h, std::span<uint8_t, Blocks::kDayBlockSize> b) override {
    return read("ReadDayBlock", h, b);
  }

  HRESULT NextBlock(int32_t* handle) override {
    log("NextBlock");
    const HRESULT h = pop(nextAnswers, nextWhenDry);
    if (h == hr::S_OK) ++*handle;
    return h;
  }
  HRESULT EndRequest() override { return log("EndRequest"); }

private:
  static HRESULT pop(std::deque<HRESULT>& q, HRESULT whenDry) {
    if (q.empty()) return whenDry;
    const HRESULT h = q.front();
    q.pop_front();
    return h;
  }
  HRESULT log(const std::string& call) {
    calls.push_back(call);
    if (onCall) onCall(call);
    return hr::S_OK;
  }
  HRESULT started(const std::string& call, std::vector<double> args, int32_t* handle) {
    log(call);
    startArgs.push_back(std::move(args));
    const HRESULT h = pop(startAnswers, startWhenDry);
    if (h == hr::S_OK) *handle = 100;
    return h;
  }
  HRESULT read(const std::string& call, int32_t handle, std::span<uint8_t> out) {
    log(call);
    readHandles.push_back(handle);
    const HRESULT h = pop(readAnswers, readWhenDry);
    if (hr::succeeded(h) && h != hr::kNotReady && !blocks.empty()) {
      const std::vector<uint8_t>& b = blocks.front();
      std::copy_n(b.begin(), std::min(b.size(), out.size()), out.begin());
      blocks.pop_front();
    }
    return h;
  }
};

class FakeThreshold : public INembraThreshold {
public:
  HRESULT answer = hr::S_OK;
  ThresholdTable table{};
  int32_t countOut = 0;
  std::vector<std::vector<int32_t>> calls;  // node, token, count in

  HRESULT GetThresholdTable(int32_t node, int32_t token, int32_t* count, int32_t* out1, int32_t* out2,
                            std::span<uint8_t, Blocks::kThresholdTableSize> out) override {
    calls.push_back({node, token, *count});
    *out1 = 7;
    *out2 = 8;
    if (answer == hr::S_OK) {
      BlockCodec::encodeInto(table, out);
      *count = countOut;
    }
    return answer;
  }
};

class FakeServerObjects : public IServerObjects {
public:
  HRESULT createAnswer = hr::S_OK;
  std::shared_ptr<FakeThreshold> threshold = std::make_shared<FakeThreshold>();
  std::vector<std::string> thresholdClassIds;

  HRESULT CreateDataServer(const std::string&, std::shared_ptr<INembraDataServer>&) override {
    return hr::E_FAIL;
  }
  HRESULT CreateThreshold(const std::string& classId, std::shared_ptr<INembraThreshold>& out) override {
    thresholdClassIds.push_back(classId);
    if (createAnswer == hr::S_OK) out = threshold;
    return createAnswer;
  }
  HRESULT CreateSecurity(std::shared_ptr<INembraSecurity>&) override { return hr::E_FAIL; }
  HRESULT CreateClock(std::shared_ptr<INembraClock>&) override { return hr::E_FAIL; }
};

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
