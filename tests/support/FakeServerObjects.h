#pragma once

#include "server/BlockCodec.h"
#include "server/INembraClock.h"
#include "server/INembraDataServer.h"
#include "server/INembraSecurity.h"
#include "server/INembraThreshold.h"
#include "server/IServerObjects.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

// The one set of server stand-ins for every test: each call answers the
// next scripted code (or its default once the script runs out) and counts.
struct ScriptedCodes {
  std::deque<HRESULT> script;
  HRESULT fallback = hr::S_OK;
  int calls = 0;
  HRESULT next() {
    ++calls;
    if (script.empty()) return fallback;
    const HRESULT r = script.front();
    script.pop_front();
    return r;
  }
};

// In-process stand-ins for the server objects: every call is logged, its
// answer comes from a script (a queue per kind of call; an empty queue
// answers S_OK), and a successful read hands out the next scripted block.
class FakeDataServer : public INembraDataServer {
public:
  std::deque<HRESULT> startAnswers, nextAnswers, readAnswers;
  std::deque<std::vector<uint8_t>> blocks;
  // Answered by every start, next or read call once its queue is empty, so a
  // test can keep the server busy or unready for as long as it likes.
  HRESULT startWhenDry = hr::S_OK, nextWhenDry = hr::S_OK, readWhenDry = hr::S_OK;

  std::vector<std::string> calls;
  std::vector<std::vector<double>> startArgs;
  std::vector<int32_t> readHandles;
  std::function<void(const std::string& call)> onCall;

  int count(const std::string& call) const {
    const std::lock_guard lock(m_mutex);
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
  }

  // The session's calls answer their own scripts and count.
  ScriptedCodes connect, openSession, closeSession, keepAlive;
  std::function<void()> onKeepAlive;  // runs inside the call (a server that hangs)

  HRESULT Connect() override { return log("Connect", connect); }
  HRESULT OpenSession(int32_t, int32_t) override { return log("OpenSession", openSession); }
  HRESULT CloseSession() override { return log("CloseSession", closeSession); }
  HRESULT KeepAlive() override {
    if (onKeepAlive) onKeepAlive();
    return log("KeepAlive", keepAlive);
  }

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
    const std::lock_guard lock(m_mutex);
    const HRESULT h = pop(nextAnswers, nextWhenDry);
    if (h == hr::S_OK) ++*handle;
    return h;
  }
  HRESULT EndRequest() override { return log("EndRequest"); }

private:
  // The keep-alive thread calls beside the fetch worker; onCall runs outside
  // the lock, as it may stop the worker that is waiting for it.
  mutable std::mutex m_mutex;

  static HRESULT pop(std::deque<HRESULT>& q, HRESULT whenDry) {
    if (q.empty()) return whenDry;
    const HRESULT h = q.front();
    q.pop_front();
    return h;
  }
  HRESULT log(const std::string& call) {
    {
      const std::lock_guard lock(m_mutex);
      calls.push_back(call);
    }
    if (onCall) onCall(call);
    return hr::S_OK;
  }
  HRESULT log(const std::string& call, ScriptedCodes& codes) {
    log(call);
    const std::lock_guard lock(m_mutex);
    return codes.next();
  }
  HRESULT started(const std::string& call, std::vector<double> args, int32_t* handle) {
    log(call);
    const std::lock_guard lock(m_mutex);
    startArgs.push_back(std::move(args));
    const HRESULT h = pop(startAnswers, startWhenDry);
    if (h == hr::S_OK) *handle = 100;
    return h;
  }
  HRESULT read(const std::string& call, int32_t handle, std::span<uint8_t> out) {
    log(call);
    const std::lock_guard lock(m_mutex);
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

struct FakeThreshold : INembraThreshold {
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

struct FakeSecurity : INembraSecurity {
  int32_t granted = 1;
  int32_t error = 0;
  int32_t lastToken = 0;
  int32_t lastPermission = 0;
  ScriptedCodes keepAlive;
  std::function<void()> onCheck;
  HRESULT CheckPermission(int32_t token, int32_t permission, int32_t* g, int32_t* e) override {
    if (onCheck) onCheck();
    lastToken = token;
    lastPermission = permission;
    *g = granted;
    *e = error;
    return hr::S_OK;
  }
  HRESULT KeepAlive() override { return keepAlive.next(); }
};

struct FakeClock : INembraClock {
  HRESULT result = hr::S_OK;
  double time = 0.0;
  HRESULT GetTime(double* t) override {
    if (result == hr::S_OK) *t = time;
    return result;
  }
};

struct FakeServerObjects : IServerObjects {
  std::shared_ptr<FakeDataServer> data = std::make_shared<FakeDataServer>();
  std::shared_ptr<FakeSecurity> security = std::make_shared<FakeSecurity>();
  std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
  std::shared_ptr<FakeThreshold> threshold = std::make_shared<FakeThreshold>();
  ScriptedCodes createData, createSecurity, createClock, createThreshold;
  std::vector<std::string> dataClasses;
  std::vector<std::string> thresholdClassIds;

  HRESULT CreateDataServer(const std::string& classId, std::shared_ptr<INembraDataServer>& out) override {
    dataClasses.push_back(classId);
    const HRESULT r = createData.next();
    if (r == hr::S_OK) out = data;
    return r;
  }
  HRESULT CreateThreshold(const std::string& classId, std::shared_ptr<INembraThreshold>& out) override {
    thresholdClassIds.push_back(classId);
    const HRESULT r = createThreshold.next();
    if (r == hr::S_OK) out = threshold;
    return r;
  }
  HRESULT CreateSecurity(std::shared_ptr<INembraSecurity>& out) override {
    const HRESULT r = createSecurity.next();
    if (r == hr::S_OK) out = security;
    return r;
  }
  HRESULT CreateClock(std::shared_ptr<INembraClock>& out) override {
    const HRESULT r = createClock.next();
    if (r == hr::S_OK) out = clock;
    return r;
  }
};
