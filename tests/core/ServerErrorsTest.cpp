#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QString>

#include <string>
#include <vector>

#include "core/Prompts.h"
#include "core/ServerErrors.h"
#include "core/ShellEvents.h"
#include "resources/Strings.h"
#include "support/QtPrinters.h"
#include "support/RecordingPrompts.h"

namespace {

// A known code shows its own text; most add the caller's context verbatim (a
// "%" in it is no marker), the rest and the transport group ignore it.
TEST(ServerErrorsTest, KnownCodesShowTheirTextWithOrWithoutTheContext) {
  const struct {
    uint32_t code;
    QString text;
    bool takesContext;
  } cases[] = {{1, Strings::LoadString(Strings::IDS_NO_PERMISSION), false},
               {2, "No database exists. ", true},
               {30, Strings::LoadString(Strings::IDS_SECURITY_CHECK_FAILED), false},
               {0x80044005, Strings::LoadString(Strings::IDS_NO_PERMISSION), false},
               {0x80044009, Strings::LoadString(Strings::IDS_SECURITY_CHECK_FAILED), false},
               {0x80044022, "  ", true},
               {0x80044318, "Overflow. ", true},
               {0x800706BA, Strings::LoadString(Strings::IDS_ERR_COMMUNICATING), false},
               {0x800706C0, Strings::LoadString(Strings::IDS_ERR_COMMUNICATING), false}};
  const QString context = QStringLiteral("Read %1 of %2: 100%");
  for (const auto& c : cases) {
    const HRESULT code = static_cast<HRESULT>(c.code);
    EXPECT_EQ(ServerErrors::MessageFor(code, context), c.takesContext ? c.text + context : c.text)
        << std::hex << c.code;
    EXPECT_EQ(ServerErrors::MessageFor(code, QString()), c.text) << std::hex << c.code;
  }
}

// Any other code: the generic text naming the code, its facility and its name
// (each tail below); only two facilities have a description of their own.
TEST(ServerErrorsTest, OtherCodesGetTheGenericText) {
  auto expectGeneric = [](const char* tail, const QString& description) {
    const HRESULT code = static_cast<HRESULT>(std::stoul(tail, nullptr, 16));
    const QString text = QStringLiteral("A message error occurred.\n") + description +
                         QStringLiteral("\n\n HRESULT = ") + QString::fromUtf8(tail);
    EXPECT_EQ(ServerErrors::MessageFor(code, QStringLiteral("Request failed.")), text);
    EXPECT_EQ(ServerErrors::MessageFor(code, QString()), text);
  };
  // Beside and between the transport codes; each facility; 0 without the prefix;
  // an HRESULT name wins over the Win32 one; a small code the server does not list.
  for (const char* tail :
       {"0x800706bc, FACILITY_WIN32, RPC_S_INVALID_NETWORK_OPTIONS",
        "0x800706b9, FACILITY_WIN32, RPC_S_OUT_OF_RESOURCES",
        "0x800706c1, FACILITY_WIN32, RPC_S_PROXY_ACCESS_DENIED", "0x80004005, FACILITY_NULL, E_FAIL",
        "0x8001010a, FACILITY_RPC, RPC_E_SERVERCALL_RETRYLATER",
        "0x80020005, FACILITY_DISPATCH, DISP_E_TYPEMISMATCH",
        "0x80030002, FACILITY_STORAGE, STG_E_FILENOTFOUND",
        "0x80012, FACILITY_WINDOWS, CO_S_NOTALLINTERFACES", "0, FACILITY_NULL, ERROR_SUCCESS",
        "0x80070057, FACILITY_WIN32, E_INVALIDARG", "0xc0090002, FACILITY_SSPI, ERROR_ALL_SIDS_FILTERED",
        "0x4, FACILITY_NULL, Unknown or new error", "0x800b0001, FACILITY_CERT, TRUST_E_PROVIDER_UNKNOWN",
        "0x800c0005, FACILITY_INTERNET, Unknown or new error",
        // Bit 28 is part of the facility.
        "0x90044999, Unknown or new FACILITY code, Unknown or new error",
        "0xffffffff, Unknown or new FACILITY code, Unknown or new error"})
    expectGeneric(tail, QString());
  // The server's unlisted and success codes; a named code keeps the fixed
  // text, the header has none; bit 29 is not part of the facility.
  for (const char* tail :
       {"0x80044999, FACILITY_ITF, Unknown or new error", "0x44313, FACILITY_ITF, Unknown or new error",
        "0x80040154, FACILITY_ITF, REGDB_E_CLASSNOTREG", "0xa0044999, FACILITY_ITF, Unknown or new error"})
    expectGeneric(tail, Strings::LoadString(Strings::IDS_UI_FACILITY_ITF_TEXT));
  expectGeneric("0x800a0001, FACILITY_CONTROL, Unknown or new error",
                Strings::LoadString(Strings::IDS_UI_FACILITY_CONTROL_TEXT));
}

TEST(ReportServerErrorTest, ShowsTheMessageThenRequestsCloseOnce) {
  QCoreApplication::processEvents();
  RecordingPrompts prompts;
  ScopedPrompts scoped{prompts};
  int closeRequests = 0;
  const QMetaObject::Connection connection = QObject::connect(
      &ShellEvents::instance(), &ShellEvents::closeRequested, [&closeRequests] { ++closeRequests; });
  ReportServerError(static_cast<HRESULT>(0x80044310), QString());
  EXPECT_EQ(prompts.texts,
            QStringList{"The maximum number of connections has been reached.  Please try again later. "});
  EXPECT_EQ(prompts.owners, QList<QWidget*>{ShellEvents::instance().messageOwner()});
  // The close request waits for the event loop, i.e. for the box to be dismissed.
  std::vector<int> counts{closeRequests};
  for (int turn = 0; turn < 2; ++turn) QCoreApplication::processEvents(), counts.push_back(closeRequests);
  EXPECT_EQ(counts, (std::vector<int>{0, 1, 1}));
  QObject::disconnect(connection);
}

}  // namespace
