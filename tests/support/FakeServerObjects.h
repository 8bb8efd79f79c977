#pragma once

#include "server/INembraClock.h"
#include "server/INembraDataServer.h"
#include "server/INembraSecurity.h"
#include "server/INembraThreshold.h"
#include "server/IServerObjects.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

// Scripted server objects for the session's tests: each call answers the
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

struct FakeDataServer : INembraDataServer {
  ScriptedCodes connect, openSession, closeSession, keepAlive;
  HRESULT Connect() override { return connect.next(); }
  HRESULT OpenSession(int32_t, int32_t) override { return openSession.next(); }
  HRESULT CloseSession() override { return closeSession.next(); }
  HRESULT StartSummaryRequest(int32_t, int32_t, int32_t, int32_t*) override { return hr::E_FAIL; }
  HRESULT ReadSummaryBlock(int32_t, std::span<uint8_t, Blocks::kSummaryBlockSize>) override { return hr::E_FAIL; }
  HRESULT StartFrequencyRequest(int32_t, int32_t, int32_t, int32_t, double, int32_t*) override { return hr::E_FAIL; }
  HRESULT ReadFrequencyBlock(int32_t, std::span<uint8_t, Blocks::kFrequencyBlockSize>) override { return hr::E_FAIL; }
  HRESULT StartRibbonRequest(int32_t, int32_t, int32_t, int32_t, int32_t*) override { return hr::E_FAIL; }
  HRESULT NextBlock(int32_t*) override { return hr::E_FAIL; }
  HRESULT EndRequest() override { return hr::S_OK; }
  HRESULT ReadRibbonBlock(int32_t, std::span<uint8_t, Blocks::kRibbonBlockSize>) override { return hr::E_FAIL; }
  HRESULT ReadDayBlock(int32_t, std::span<uint8_t, Blocks::kDayBlockSize>) override { return hr::E_FAIL; }
  HRESULT StartDayRequest(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t*) override { return hr::E_FAIL; }
  HRESULT KeepAlive() override { return keepAlive.next(); }
};

struct FakeSecurity : INembraSecurity {
  int32_t granted = 1;
  int32_t error = 0;
  int32_t lastToken = 0;
  int32_t lastPermission = 0;
  ScriptedCodes keepAlive;
  HRESULT CheckPermission(int32_t token, int32_t permission, int32_t* g, int32_t* e) override {
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
  ScriptedCodes createData, createSecurity, createClock;
  std::vector<std::string> dataClasses;

  HRESULT CreateDataServer(const std::string& classId, std::shared_ptr<INembraDataServer>& out) override {
    dataClasses.push_back(classId);
    const HRESULT r = createData.next();
    if (r == hr::S_OK) out = data;
    return r;
  }
  HRESULT CreateThreshold(const std::string&, std::shared_ptr<INembraThreshold>&) override {
    return hr::REGDB_E_CLASSNOTREG;
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
