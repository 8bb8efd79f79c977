#pragma once

#include <cstdint>

// Result codes of the monitoring server's calls. Every call answers one; the
// callers test the exact success value, the two retry codes, and report the
// rest. Kept as int32_t so the 0x8xxxxxxx failures are negative.
using HRESULT = int32_t;

namespace hr {

constexpr HRESULT make(uint32_t code) { return static_cast<HRESULT>(code); }

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;

// Block not computed yet: a success code, the reader asks again.
constexpr HRESULT kNotReady = make(0x00044313);
// Another request is in process on this session: retry the start call.
constexpr HRESULT kBusy = make(0x80044316);
// The server is still setting up the connection: retry Connect.
constexpr HRESULT kConnectBusy = make(0x80044023);

// Failure codes of the monitoring server (interface facility).
constexpr HRESULT kDatabaseException = make(0x80044000);
constexpr HRESULT kNoPermission = make(0x80044005);
constexpr HRESULT kSecurityCheckFailed = make(0x80044009);
constexpr HRESULT kRpcFailure = make(0x80044016);
constexpr HRESULT kInvalidUid = make(0x80044020);
constexpr HRESULT kUndescribed = make(0x80044022);
constexpr HRESULT kElementDisabled = make(0x80044024);
constexpr HRESULT kCommunications = make(0x80044025);
constexpr HRESULT kInvalidHandle = make(0x80044026);
constexpr HRESULT kInvalidArgument = make(0x80044028);
constexpr HRESULT kMaxConnections = make(0x80044310);
constexpr HRESULT kConnectionDropped = make(0x80044311);
constexpr HRESULT kRequestUnavailable = make(0x80044313);
constexpr HRESULT kRequestInProcess = kBusy;
constexpr HRESULT kRequestNotMade = make(0x80044317);
constexpr HRESULT kOverflow = make(0x80044318);

// Small positive codes the server answers for account and database states.
constexpr HRESULT kCodeNoPermission = 1;
constexpr HRESULT kCodeNoDatabase = 2;
constexpr HRESULT kCodeNoCollection = 3;
constexpr HRESULT kCodeNoUser = 6;
constexpr HRESULT kCodeNoSnapshot = 9;
constexpr HRESULT kCodeAccountDisabled = 11;
constexpr HRESULT kCodeServerMachine = 14;
constexpr HRESULT kCodeDatabaseError = 16;
constexpr HRESULT kCodeSessionExpired = 30;  // also the permission check's error for an expired token

// Platform codes the transport and creation produce.
constexpr HRESULT E_ACCESSDENIED = make(0x80070005);
constexpr HRESULT E_INVALIDARG = make(0x80070057);
constexpr HRESULT E_NOINTERFACE = make(0x80004002);
constexpr HRESULT E_POINTER = make(0x80004003);
constexpr HRESULT E_FAIL = make(0x80004005);
constexpr HRESULT REGDB_E_CLASSNOTREG = make(0x80040154);
constexpr HRESULT RPC_E_SERVERCALL_RETRYLATER = make(0x8001010A);
constexpr HRESULT RPC_E_DISCONNECTED = make(0x80010108);  // the object is gone on the server
constexpr HRESULT RPC_S_SERVER_UNAVAILABLE = make(0x800706BA);
constexpr HRESULT RPC_S_SERVER_TOO_BUSY = make(0x800706BB);
constexpr HRESULT RPC_S_CALL_FAILED = make(0x800706BE);
constexpr HRESULT RPC_S_CALL_FAILED_DNE = make(0x800706BF);
constexpr HRESULT RPC_S_PROTOCOL_ERROR = make(0x800706C0);

constexpr bool succeeded(HRESULT h) { return h >= 0; }
constexpr bool failed(HRESULT h) { return h < 0; }

// The transport group that the program reports as "cannot reach the server":
// 0x800706BA, 0x800706BB and 0x800706BD to 0x800706C0 (0x800706BC is not in it).
constexpr bool isRpcTransport(HRESULT h) {
  const uint32_t u = static_cast<uint32_t>(h);
  return u == 0x800706BAu || u == 0x800706BBu || (u >= 0x800706BDu && u <= 0x800706C0u);
}

}  // namespace hr
