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

constexpr const char* kNoPermission =
    "You do not have permission to launch Quillon. Please contact your system administrator "
    "for more information.\n";
constexpr const char* kSessionTimedOut =
    "Security check failed. The administrator may have logged you off of the system, or your "
    "session may have timed out.\n";
constexpr const char* kCommunicating =
    "Error communcating with the server.  Check the status of the Nembra server.";
constexpr const char* kItfText =
    "This is a FACILITY_ITF error that is specific to the interface that returned this error. "
    "See the documentation of the interface that returned this error for information about "
    "this HRESULT.";
constexpr const char* kControlText =
    "This is a FACILITY_CONTROL error that is specific to the control's interface that "
    "returned this error. See the documentation of the interface that returned this error "
    "for information about this HRESULT.";

// Every code the server is known to answer, with the text the box shows
// without a context; a code that takes the caller's context adds it after
// the text, one that does not shows the text alone.
struct MessageCase {
  uint32_t code;
  const char* text;
  bool takesContext;
};

void PrintTo(const MessageCase& c, std::ostream* os) {
  *os << std::hex << "0x" << c.code;
}

QString generic(const char* description, const char* tail) {
  return QStringLiteral("A message error occurred.\n") + QString::fromUtf8(description) +
         QStringLiteral("\n\n HRESULT = ") + QString::fromUtf8(tail);
}

class MessageTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(MessageTest, WithAndWithoutContext) {
  const MessageCase& c = GetParam();
  const HRESULT code = static_cast<HRESULT>(c.code);
  const QString text = QString::fromUtf8(c.text);
  EXPECT_EQ(ServerErrors::MessageFor(code, QStringLiteral("Unable to connect.")),
            c.takesContext ? text + QStringLiteral("Unable to connect.") : text);
  EXPECT_EQ(ServerErrors::MessageFor(code, QString()), text);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, MessageTest,
    ::testing::Values(
        MessageCase{1, kNoPermission, false}, MessageCase{2, "No database exists. ", true},
        MessageCase{3, "No collection exists. ", true}, MessageCase{6, "User does not exist. ", true},
        MessageCase{9, "No such snapshot exists. ", true}, MessageCase{11, "Account is disabled. ", true},
        MessageCase{14,
                    "There was an error connecting to the server machine.  Please contact your system "
                    "administrator. ",
                    true},
        MessageCase{16, "Database error. ", true}, MessageCase{30, kSessionTimedOut, false},
        MessageCase{0x80044000, "Database threw an exception. ", true},
        MessageCase{0x80044005, kNoPermission, false}, MessageCase{0x80044009, kSessionTimedOut, false},
        MessageCase{0x80044016, "RPC failure. ", true}, MessageCase{0x80044020, "Invalid UID. ", true},
        MessageCase{0x80044022, "  ", true}, MessageCase{0x80044023, "  ", true},
        MessageCase{0x80044024, "The network element is disabled. ", true},
        MessageCase{0x80044025, "Communications error. ", true},
        MessageCase{0x80044026, "Invalid handle. ", true},
        MessageCase{0x80044028, "Invalid argument. ", true},
        MessageCase{0x80044310,
                    "The maximum number of connections has been reached.  Please try again later. ", true},
        MessageCase{0x80044311, "The connection was dropped. ", true},
        MessageCase{0x80044313, "Request unavailable. ", true},
        MessageCase{0x80044316, "There is another request in process. ", true},
        MessageCase{0x80044317, "Request not made. ", true}, MessageCase{0x80044318, "Overflow. ", true},
        // The transport group ignores the context.
        MessageCase{0x800706BA, kCommunicating, false}, MessageCase{0x800706BB, kCommunicating, false},
        MessageCase{0x800706BD, kCommunicating, false}, MessageCase{0x800706C0, kCommunicating, false}));

TEST(ServerErrorsTest, OtherCodesGetTheGenericTextWhateverTheContext) {
  const struct {
    uint32_t code;
    const char* description;
    const char* tail;
  } cases[] = {// Beside and between the transport codes, yet not one of them.
               {0x800706BC, "", "0x800706bc, FACILITY_WIN32, RPC_S_INVALID_NETWORK_OPTIONS"},
               {0x800706B9, "", "0x800706b9, FACILITY_WIN32, RPC_S_OUT_OF_RESOURCES"},
               {0x800706C1, "", "0x800706c1, FACILITY_WIN32, RPC_S_PROXY_ACCESS_DENIED"},
               {0x80004005, "", "0x80004005, FACILITY_NULL, E_FAIL"},
               {0x8001010A, "", "0x8001010a, FACILITY_RPC, RPC_E_SERVERCALL_RETRYLATER"},
               {0x80020005, "", "0x80020005, FACILITY_DISPATCH, DISP_E_TYPEMISMATCH"},
               {0x80030002, "", "0x80030002, FACILITY_STORAGE, STG_E_FILENOTFOUND"},
               {0x00080012, "", "0x80012, FACILITY_WINDOWS, CO_S_NOTALLINTERFACES"},
               {0, "", "0, FACILITY_NULL, ERROR_SUCCESS"},
               // A name spelled as an HRESULT wins over the Win32 number mapped onto its code.
               {0x80070057, "", "0x80070057, FACILITY_WIN32, E_INVALIDARG"},
               {0xC0090002, "", "0xc0090002, FACILITY_SSPI, ERROR_ALL_SIDS_FILTERED"},
               // Small codes that the table does not list are not the server's own.
               {4, "", "0x4, FACILITY_NULL, Unknown or new error"},
               // The interface facility: the server's unlisted codes and its success codes.
               {0x80044999, kItfText, "0x80044999, FACILITY_ITF, Unknown or new error"},
               {0x00044313, kItfText, "0x44313, FACILITY_ITF, Unknown or new error"},
               // A named interface-facility code keeps the fixed text: the header has no description.
               {0x80040154, kItfText, "0x80040154, FACILITY_ITF, REGDB_E_CLASSNOTREG"},
               // Bit 29 is not part of the facility; bit 28 is.
               {0xA0044999, kItfText, "0xa0044999, FACILITY_ITF, Unknown or new error"},
               {0x90044999, "", "0x90044999, Unknown or new FACILITY code, Unknown or new error"},
               {0x800A0001, kControlText, "0x800a0001, FACILITY_CONTROL, Unknown or new error"},
               {0x800B0001, "", "0x800b0001, FACILITY_CERT, TRUST_E_PROVIDER_UNKNOWN"},
               {0x800C0005, "", "0x800c0005, FACILITY_INTERNET, Unknown or new error"},
               {0x80050001, "", "0x80050001, Unknown or new FACILITY code, Unknown or new error"},
               {0x800D0001, "", "0x800d0001, Unknown or new FACILITY code, Unknown or new error"},
               {0xFFFFFFFF, "", "0xffffffff, Unknown or new FACILITY code, Unknown or new error"}};
  for (const auto& c : cases) {
    const HRESULT code = static_cast<HRESULT>(c.code);
    EXPECT_EQ(ServerErrors::MessageFor(code, QStringLiteral("Request failed.")),
              generic(c.description, c.tail))
        << std::hex << c.code;
    EXPECT_EQ(ServerErrors::MessageFor(code, QString()), generic(c.description, c.tail))
        << std::hex << c.code;
  }
}

TEST(ServerErrorsTest, ContextIsInsertedVerbatim) {
  // A "%" in the context must not be taken for a marker of the format.
  EXPECT_EQ(ServerErrors::MessageFor(2, QStringLiteral("Read %1 of %2: 100%")),
            QStringLiteral("No database exists. Read %1 of %2: 100%"));
}

TEST(ErrorNamesTest, CodesWithoutANameFindNothing) {
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
