#include "core/ServerErrors.h"

#include "core/ErrorNames.h"
#include "core/Prompts.h"
#include "core/ShellEvents.h"
#include "resources/Strings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace ServerErrors {
namespace {

enum class Kind {
  WithContext,  // the message, one space, the caller's context
  Alone,
};

struct KnownCode {
  HRESULT code;
  Kind kind;
  Strings::Id message;
};

// Every code the monitoring server is known to answer. Anything else is
// reported by the transport group's text or the generic text.
constexpr KnownCode kKnownCodes[] = {
    {hr::kCodeNoPermission, Kind::Alone, Strings::IDS_NO_PERMISSION},
    {hr::kCodeNoDatabase, Kind::WithContext, Strings::IDS_ERR_NO_DATABASE},
    {hr::kCodeNoCollection, Kind::WithContext, Strings::IDS_ERR_NO_COLLECTION},
    {hr::kCodeNoUser, Kind::WithContext, Strings::IDS_ERR_NO_USER},
    {hr::kCodeNoSnapshot, Kind::WithContext, Strings::IDS_ERR_NO_SNAPSHOT},
    {hr::kCodeAccountDisabled, Kind::WithContext, Strings::IDS_ERR_ACCOUNT_DISABLED},
    {hr::kCodeServerMachine, Kind::WithContext, Strings::IDS_ERR_SERVER_MACHINE},
    {hr::kCodeDatabaseError, Kind::WithContext, Strings::IDS_ERR_DATABASE},
    {hr::kCodeSessionExpired, Kind::Alone, Strings::IDS_SECURITY_CHECK_FAILED},
    {hr::kDatabaseException, Kind::WithContext, Strings::IDS_ERR_DATABASE_EXCEPTION},
    {hr::kNoPermission, Kind::Alone, Strings::IDS_NO_PERMISSION},
    {hr::kSecurityCheckFailed, Kind::Alone, Strings::IDS_SECURITY_CHECK_FAILED},
    {hr::kRpcFailure, Kind::WithContext, Strings::IDS_ERR_RPC_FAILURE},
    {hr::kInvalidUid, Kind::WithContext, Strings::IDS_ERR_INVALID_UID},
    {hr::kUndescribed, Kind::WithContext, Strings::IDS_ERR_UNDESCRIBED},
    {hr::kConnectBusy, Kind::WithContext, Strings::IDS_ERR_SERVER_BUSY},
    {hr::kElementDisabled, Kind::WithContext, Strings::IDS_ERR_ELEMENT_DISABLED},
    {hr::kCommunications, Kind::WithContext, Strings::IDS_ERR_COMMUNICATIONS},
    {hr::kInvalidHandle, Kind::WithContext, Strings::IDS_ERR_INVALID_HANDLE},
    {hr::kInvalidArgument, Kind::WithContext, Strings::IDS_ERR_INVALID_ARGUMENT},
    {hr::kMaxConnections, Kind::WithContext, Strings::IDS_ERR_MAX_CONNECTIONS},
    {hr::kConnectionDropped, Kind::WithContext, Strings::IDS_ERR_CONNECTION_DROPPED},
    {hr::kRequestUnavailable, Kind::WithContext, Strings::IDS_ERR_REQUEST_UNAVAILABLE},
    {hr::kRequestInProcess, Kind::WithContext, Strings::IDS_ERR_REQUEST_IN_PROCESS},
    {hr::kRequestNotMade, Kind::WithContext, Strings::IDS_ERR_REQUEST_NOT_MADE},
    {hr::kOverflow, Kind::WithContext, Strings::IDS_ERR_OVERFLOW},
};

constexpr bool Unique() {
  for (auto a = std::begin(kKnownCodes); a != std::end(kKnownCodes); ++a)
    for (auto b = a + 1; b != std::end(kKnownCodes); ++b)
      if (a->code == b->code) return false;
  return true;
}
static_assert(Unique(), "a code may have only one message");

const KnownCode* FindKnown(HRESULT code) {
  const auto* it = std::find_if(std::begin(kKnownCodes), std::end(kKnownCodes),
                                [code](const KnownCode& k) { return k.code == code; });
  return it != std::end(kKnownCodes) ? it : nullptr;
}

constexpr uint32_t kFacilityItf = 4;
constexpr uint32_t kFacilityControl = 10;
constexpr int kMaxDescription = 400;

constexpr uint32_t Facility(HRESULT code) {
  return (static_cast<uint32_t>(code) >> 16) & 0x1FFF;
}

QString FormatCode(HRESULT code) {
  // The C library's "%#x", not QString::asprintf's: only the former writes 0
  // as "0" without the prefix, as the message always has.
  const QByteArray format = Strings::LoadString(Strings::IDS_HRESULT_FORMAT).toLatin1();
  char text[32] = {};
  std::snprintf(text, sizeof text, format.constData(), static_cast<unsigned>(code));
  return QString::fromLatin1(text);
}

}  // namespace

QString MessageFor(HRESULT code, const QString& context) {
  if (const KnownCode* known = FindKnown(code)) {
    const QString message = Strings::LoadString(known->message);
    if (known->kind == Kind::Alone) return message;
    // One call with both arguments, so a "%" in either is never read as a marker.
    return Strings::LoadString(Strings::IDS_MESSAGE_WITH_CONTEXT).arg(message, context);
  }
  if (hr::isRpcTransport(code)) return Strings::LoadString(Strings::IDS_ERR_COMMUNICATING);
  return Strings::LoadString(Strings::IDS_GENERIC_SERVER_ERROR)
      .arg(Description(code), FormatCode(code), FacilityName(code), SymbolicName(code));
}

QString FacilityName(HRESULT code) {
  switch (Facility(code)) {
    case 0: return QStringLiteral("FACILITY_NULL");
    case 1: return QStringLiteral("FACILITY_RPC");
    case 2: return QStringLiteral("FACILITY_DISPATCH");
    case 3: return QStringLiteral("FACILITY_STORAGE");
    case kFacilityItf: return QStringLiteral("FACILITY_ITF");
    case 7: return QStringLiteral("FACILITY_WIN32");
    case 8: return QStringLiteral("FACILITY_WINDOWS");
    case 9: return QStringLiteral("FACILITY_SSPI");
    case kFacilityControl: return QStringLiteral("FACILITY_CONTROL");
    case 11: return QStringLiteral("FACILITY_CERT");
    case 12: return QStringLiteral("FACILITY_INTERNET");
    default: return Strings::LoadString(Strings::IDS_UI_UNKNOWN_FACILITY);
  }
}

QString SymbolicName(HRESULT code) {
  const ErrorName* entry = findErrorName(static_cast<uint32_t>(code));
  return entry ? QString::fromLatin1(entry->name) : Strings::LoadString(Strings::IDS_UI_UNKNOWN_ERROR_NAME);
}

QString Description(HRESULT code) {
  const ErrorName* entry = findErrorName(static_cast<uint32_t>(code));
  if (entry && *entry->description) return QString::fromUtf8(entry->description).left(kMaxDescription);
  switch (Facility(code)) {
    case kFacilityItf: return Strings::LoadString(Strings::IDS_UI_FACILITY_ITF_TEXT);
    case kFacilityControl: return Strings::LoadString(Strings::IDS_UI_FACILITY_CONTROL_TEXT);
    default: return QString();
  }
}

namespace {

// The folder quillon-setup-identity takes: the identity file is its
// Veltrix/PM.ini.
QString configFolder(const QString& identityFile) {
  return QFileInfo(QFileInfo(identityFile).absolutePath()).absolutePath();
}

}  // namespace

QString ConnectionHint(HRESULT code, const ConnectionFacts& facts) {
  if (code == hr::E_ACCESSDENIED)
    return Strings::LoadString(Strings::IDS_UI_HINT_ACCESS_DENIED)
        .arg(facts.identityFile, configFolder(facts.identityFile));
  if (hr::isRpcTransport(code))
    return Strings::LoadString(Strings::IDS_UI_HINT_UNREACHABLE).arg(facts.address);
  if (code == hr::kInvalidUid) return Strings::LoadString(Strings::IDS_UI_HINT_UNKNOWN_NODE).arg(facts.node);
  return {};
}

QString CertificateHint(const CertificateCheck& check, const QString& address, const QString& setting) {
  const QString detail = QString::fromStdString(check.detail);
  switch (check.problem) {
    case CertificateProblem::None: return {};
    case CertificateProblem::NoTls:
      return Strings::LoadString(Strings::IDS_UI_CERT_NO_TLS).arg(address, detail);
    case CertificateProblem::UnknownAuthority:
      return Strings::LoadString(Strings::IDS_UI_CERT_UNKNOWN_AUTHORITY).arg(address, detail, setting);
    case CertificateProblem::WrongName:
      return Strings::LoadString(Strings::IDS_UI_CERT_WRONG_NAME).arg(address, detail);
    case CertificateProblem::Expired:
      return Strings::LoadString(Strings::IDS_UI_CERT_EXPIRED).arg(address, detail);
    case CertificateProblem::CaFileUnreadable:
      return Strings::LoadString(Strings::IDS_UI_CERT_CA_FILE).arg(address, detail, setting);
    case CertificateProblem::Other: break;
  }
  return Strings::LoadString(Strings::IDS_UI_CERT_OTHER).arg(address, detail);
}

QString MissingIdentityHint(const QString& identityFile) {
  return Strings::LoadString(Strings::IDS_UI_HINT_IDENTITY_MISSING)
      .arg(identityFile, configFolder(identityFile));
}

}  // namespace ServerErrors

// UI thread only: the box is modal on the main window. A worker that fails
// marshals the call here (a blocking queued invocation) rather than calling it.
void ReportServerError(HRESULT code, const QString& context, const QString& informative) {
  Q_ASSERT(!QCoreApplication::instance() ||
           QThread::currentThread() == QCoreApplication::instance()->thread());
  ShellEvents& shell = ShellEvents::instance();
  Prompts::current().message(shell.messageOwner(), ServerErrors::MessageFor(code, context), informative);
  // Queued, so the window closes only after the box above has been dismissed.
  shell.requestClose();
}
