#pragma once

#include "server/HResult.h"
#include "server/IServerObjects.h"

#include <QString>

// Turns a server result code into the text the user reads. One table serves
// every caller; the texts come from the string table.
namespace ServerErrors {

// The whole message for `code` with `context` ("Unable to connect.", ...):
// the known codes' own messages (with or without the context), the transport
// group's message, or the generic text naming the code, its facility and its
// symbolic name.
QString MessageFor(HRESULT code, const QString& context);

// "FACILITY_ITF" etc. from bits 16 to 28; "Unknown or new FACILITY code".
QString FacilityName(HRESULT code);
// The platform's published name of the code ("E_ACCESSDENIED",
// "RPC_S_SERVER_UNAVAILABLE", ...); "Unknown or new error" when it has none.
QString SymbolicName(HRESULT code);
// The platform's description of the code, at most 400 characters; the two
// interface-specific facilities have a fixed text; empty when there is none.
QString Description(HRESULT code);

// What the program knows of a connection that failed.
struct ConnectionFacts {
  QString identityFile;  // where the user name and password were read
  QString address;       // the host and port tried
  int32_t node = 0;
};

// The plain sentence under a failed connection's message saying what to fix:
// the identity file for a refused user or password, the address for a server
// that cannot be reached, the node for one the server does not know; empty
// for every other code.
QString ConnectionHint(HRESULT code, const ConnectionFacts& facts);
// The line under a connection ended for a certificate problem, naming the
// problem; `setting` names where the CA file is set. Empty when there was none.
QString CertificateHint(const CertificateCheck& check, const QString& address, const QString& setting);
// The sentence under the missing-identity message: the file and keys read.
QString MissingIdentityHint(const QString& identityFile);

}  // namespace ServerErrors

// The one routine that reports a server failure: shows the message in a plain
// OK box owned by the main window (with `informative` under it when given),
// then asks the main window to close.
void ReportServerError(HRESULT code, const QString& context, const QString& informative = QString());
