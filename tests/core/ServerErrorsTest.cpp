#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QString>

#include "core/ErrorNames.h"
#include "core/Prompts.h"
#include "core/ServerErrors.h"
#include "core/ShellEvents.h"
#include "support/QtPrinters.h"
#include "support/RecordingPrompts.h"

namespace {

// Codes and texts are written out rather than taken from the program's
// tables, so a wrong entry there fails here.
struct KnownCase {
  uint32_t code;
  const char* withContext;  // for the context "Unable to connect."
  const char* withoutContext;
};

void PrintTo(const KnownCase& c, std::ostream* os) {
  *os << std::hex << "0x" << c.code;
}

constexpr const char* kNoPermission =
    "You do not have permission to launch Quillon. Please contact your system administrator "
    "for more information.\n";
constexpr const char* kSessionTimedOut =
    "Security check failed. The administrator may have logged you off of the system, or your "
    "session may have timed out.\n";
constexpr const char* kCommunicating =
    "Error communcating with the server.  Check the status of the Nembra server.";

class KnownCodeTest : public ::testing::TestWithParam<KnownCase> {};

TEST_P(KnownCodeTest, MessageWithAndWithoutContext) {
  const KnownCase& c = GetParam();
  const HRESULT code = static_cast<HRESULT>(c.code);
  EXPECT_EQ(ServerErrors::MessageFor(code, QStringLiteral("Unable to connect.")),
            QString::fromUtf8(c.withContext));
  EXPECT_EQ(ServerErrors::MessageFor(code, QString()), QString::fromUtf8(c.withoutContext));
}

INSTANTIATE_TEST_SUITE_P(
    EveryKnownCode, KnownCodeTest,
    ::testing::Values(
        KnownCase{1, kNoPermission, kNoPermission},
        KnownCase{2, "No database exists. Unable to connect.", "No database exists. "},
        KnownCase{3, "No collection exists. Unable to connect.", "No collection exists. "},
        KnownCase{6, "User does not exist. Unable to connect.", "User does not exist. "},
        KnownCase{9, "No such snapshot exists. Unable to connect.", "No such snapshot exists. "},
        KnownCase{11, "Account is disabled. Unable to connect.", "Account is disabled. "},
        KnownCase{14,
                  "There was an error connecting to the server machine.  Please contact your "
                  "system administrator. Unable to connect.",
                  "There was an error connecting to the server machine.  Please contact your "
                  "system administrator. "},
        KnownCase{16, "Database error. Unable to connect.", "Database error. "},
        KnownCase{30, kSessionTimedOut, kSessionTimedOut},
        KnownCase{0x80044000, "Database threw an exception. Unable to connect.",
                  "Database threw an exception. "},
        KnownCase{0x80044005, kNoPermission, kNoPermission},
        KnownCase{0x80044009, kSessionTimedOut, kSessionTimedOut},
        KnownCase{0x80044016, "RPC failure. Unable to connect.", "RPC failure. "},
        KnownCase{0x80044020, "Invalid UID. Unable to connect.", "Invalid UID. "},
        KnownCase{0x80044022, "  Unable to connect.", "  "},
        KnownCase{0x80044023, "  Unable to connect.", "  "},
        KnownCase{0x80044024, "The network element is disabled. Unable to connect.",
                  "The network element is disabled. "},
        KnownCase{0x80044025, "Communications error. Unable to connect.", "Communications error. "},
        KnownCase{0x80044026, "Invalid handle. Unable to connect.", "Invalid handle. "},
        KnownCase{0x80044028, "Invalid argument. Unable to connect.", "Invalid argument. "},
        KnownCase{0x80044310,
                  "The maximum number of connections has been reached.  Please try again later. "
                  "Unable to connect.",
                  "The maximum number of connections has been reached.  Please try again later. "},
        KnownCase{0x80044311, "The connection was dropped. Unable to connect.",
                  "The connection was dropped. "},
        KnownCase{0x80044313, "Request unavailable. Unable to connect.", "Request unavailable. "},
        KnownCase{0x80044316, "There is another request in process. Unable to connect.",
                  "There is another request in process. "},
        KnownCase{0x80044317, "Request not made. Unable to connect.", "Request not made. "},
        KnownCase{0x80044318, "Overflow. Unable to connect.", "Overflow. "},
        // The transport group ignores the context.
        KnownCase{0x800706BA, kCommunicating, kCommunicating},
        KnownCase{0x800706BB, kCommunicating, kCommunicating},
        KnownCase{0x800706BD, kCommunicating, kCommunicating},
        KnownCase{0x800706BE, kCommunicating, kCommunicating},
        KnownCase{0x800706BF, kCommunicating, kCommunicating},
        KnownCase{0x800706C0, kCommunicating, kCommunicating}));

TEST(ServerErrorsTest, ContextIsInsertedVerbatim) {
  // A "%" in the context must not be taken for a marker of the format.
  EXPECT_EQ(ServerErrors::MessageFor(2, QStringLiteral("Read %1 of %2: 100%")),
            QStringLiteral("No database exists. Read %1 of %2: 100%"));
  EXPECT_EQ(ServerErrors::MessageFor(static_cast<HRESULT>(0x80044310), QStringLiteral(" ")),
            QStringLiteral("The maximum number of connections has been reached.  Please try "
                           "again later.  "));
}

// The generic text is "A message error occurred.\n" + description + "\n\n HRESULT = " + tail.
struct GenericCase {
  uint32_t code;
  const char* description;
  const char* tail;
};

void PrintTo(const GenericCase& c, std::ostream* os) {
  *os << std::hex << "0x" << c.code;
}

constexpr const char* kItfText =
    "This is a FACILITY_ITF error that is specific to the interface that returned this error. "
    "See the documentation of the interface that returned this error for information about "
    "this HRESULT.";
constexpr const char* kControlText =
    "This is a FACILITY_CONTROL error that is specific to the control's interface that "
    "returned this error. See the documentation of the interface that returned this error "
    "for information about this HRESULT.";

class GenericCodeTest : public ::testing::TestWithParam<GenericCase> {};

TEST_P(GenericCodeTest, GenericText) {
  const GenericCase& c = GetParam();
  const QString expected = QStringLiteral("A message error occurred.\n") + QString::fromUtf8(c.description) +
                           QStringLiteral("\n\n HRESULT = ") + QString::fromUtf8(c.tail);
  const HRESULT code = static_cast<HRESULT>(c.code);
  EXPECT_EQ(ServerErrors::MessageFor(code, QStringLiteral("Request failed.")), expected);
  EXPECT_EQ(ServerErrors::MessageFor(code, QString()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    UnlistedCodes, GenericCodeTest,
    ::testing::Values(
        // Between the transport codes, yet not one of them; and its neighbours.
        GenericCase{0x800706BC, "", "0x800706bc, FACILITY_WIN32, RPC_S_INVALID_NETWORK_OPTIONS"},
        GenericCase{0x800706B9, "", "0x800706b9, FACILITY_WIN32, RPC_S_OUT_OF_RESOURCES"},
        GenericCase{0x800706C1, "", "0x800706c1, FACILITY_WIN32, RPC_S_PROXY_ACCESS_DENIED"},
        GenericCase{0x80070005, "", "0x80070005, FACILITY_WIN32, E_ACCESSDENIED"},
        GenericCase{0x80004005, "", "0x80004005, FACILITY_NULL, E_FAIL"},
        GenericCase{0x8001010A, "", "0x8001010a, FACILITY_RPC, RPC_E_SERVERCALL_RETRYLATER"},
        GenericCase{0x00080012, "", "0x80012, FACILITY_WINDOWS, CO_S_NOTALLINTERFACES"},
        GenericCase{0, "", "0, FACILITY_NULL, ERROR_SUCCESS"},
        // Small codes that the table does not list are not the server's own.
        GenericCase{4, "", "0x4, FACILITY_NULL, Unknown or new error"},
        // The interface facility: the server's unlisted codes and its success codes.
        GenericCase{0x80044999, kItfText, "0x80044999, FACILITY_ITF, Unknown or new error"},
        GenericCase{0x00044313, kItfText, "0x44313, FACILITY_ITF, Unknown or new error"},
        // A named interface-facility code keeps the fixed text: the header has no description.
        GenericCase{0x80040154, kItfText, "0x80040154, FACILITY_ITF, REGDB_E_CLASSNOTREG"},
        // Bit 29 is not part of the facility.
        GenericCase{0xA0044999, kItfText, "0xa0044999, FACILITY_ITF, Unknown or new error"},
        GenericCase{0x800A0001, kControlText, "0x800a0001, FACILITY_CONTROL, Unknown or new error"},
        GenericCase{0x01230000, "", "0x1230000, Unknown or new FACILITY code, Unknown or new error"},
        GenericCase{0xFFFFFFFF, "", "0xffffffff, Unknown or new FACILITY code, Unknown or new error"}));

struct FacilityCase {
  uint32_t facility;
  const char* name;
};

TEST(ServerErrorsTest, FacilityNames) {
  const FacilityCase cases[] = {
      {0, "FACILITY_NULL"},
      {1, "FACILITY_RPC"},
      {2, "FACILITY_DISPATCH"},
      {3, "FACILITY_STORAGE"},
      {4, "FACILITY_ITF"},
      {5, "Unknown or new FACILITY code"},
      {6, "Unknown or new FACILITY code"},
      {7, "FACILITY_WIN32"},
      {8, "FACILITY_WINDOWS"},
      {9, "FACILITY_SSPI"},
      {10, "FACILITY_CONTROL"},
      {11, "FACILITY_CERT"},
      {12, "FACILITY_INTERNET"},
      {13, "Unknown or new FACILITY code"},
      {0x1004, "Unknown or new FACILITY code"},
  };
  for (const FacilityCase& c : cases) {
    for (uint32_t high : {0x00000000u, 0x80000000u}) {
      const auto code = static_cast<HRESULT>(high | (c.facility << 16) | 0x1234u);
      EXPECT_EQ(ServerErrors::FacilityName(code), QString::fromUtf8(c.name)) << "facility " << c.facility;
    }
  }
}

struct NameCase {
  uint32_t code;
  const char* name;
};

TEST(ErrorNamesTest, PublishedNames) {
  // Where names share a code, one spelled as an HRESULT wins over the Win32
  // number mapped onto it, and range markers never name a code. (The generic
  // texts above check more names through SymbolicName.)
  const NameCase cases[] = {
      {0x00000001, "S_FALSE"},
      {0x80070057, "E_INVALIDARG"},
      {0x8007007A, "E_NOT_SUFFICIENT_BUFFER"},
      {0x80070002, "ERROR_FILE_NOT_FOUND"},
      {0x80072AF9, "WSAHOST_NOT_FOUND"},
      {0x800706BA, "RPC_S_SERVER_UNAVAILABLE"},
      {0x80010108, "RPC_E_DISCONNECTED"},
      {0x80040000, "OLE_E_OLEVERB"},
      {0x8004D000, "XACT_E_ALREADYOTHERSINGLEPHASE"},
      {0x8000FFFF, "E_UNEXPECTED"},
      {0xC0090002, "ERROR_ALL_SIDS_FILTERED"},  // the highest code named
  };
  for (const NameCase& c : cases) {
    const ErrorName* entry = findErrorName(c.code);
    ASSERT_NE(entry, nullptr) << std::hex << c.code;
    EXPECT_STREQ(entry->name, c.name);
    ASSERT_NE(entry->description, nullptr);
  }
  for (uint32_t unnamed : {0x00000004u, 0x80072710u, 0x80044999u, 0xC0090003u, 0xFFFFFFFFu})
    EXPECT_EQ(findErrorName(unnamed), nullptr) << std::hex << unnamed;
}

class ReportServerErrorTest : public ::testing::Test {
protected:
  void SetUp() override {
    QCoreApplication::processEvents();
    m_connection = QObject::connect(&ShellEvents::instance(), &ShellEvents::closeRequested,
                                    [this] { ++m_closeRequests; });
  }
  void TearDown() override { QObject::disconnect(m_connection); }

  RecordingPrompts m_prompts;
  ScopedPrompts m_scoped{m_prompts};
  int m_closeRequests = 0;
  QMetaObject::Connection m_connection;
};

TEST_F(ReportServerErrorTest, ShowsTheMessageThenRequestsCloseOnce) {
  ReportServerError(static_cast<HRESULT>(0x80044310), QString());

  ASSERT_EQ(m_prompts.texts.size(), 1);
  EXPECT_EQ(m_prompts.texts.front(),
            QStringLiteral("The maximum number of connections has been reached.  Please try "
                           "again later. "));
  EXPECT_EQ(m_prompts.owners.front(), ShellEvents::instance().messageOwner());
  // The close request waits for the event loop, i.e. for the box to be dismissed.
  EXPECT_EQ(m_closeRequests, 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(m_closeRequests, 1);
  QCoreApplication::processEvents();
  EXPECT_EQ(m_closeRequests, 1);
}

}  // namespace
