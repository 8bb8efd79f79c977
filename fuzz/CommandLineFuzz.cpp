// The launcher's command line: any argument list parses, the same list always
// parses the same way, the words after "--launch" are handed on untouched,
// and a final KEY:VALUE parameter always decides that this is a launch.
#include "app/CCommandLineInfoWav.h"
#include "fuzz/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const QStringList arguments = QStringList{QStringLiteral("quillon")} + wordsFrom(data, size);
  const CCommandLineInfoWav first = CCommandLineInfoWav::parse(arguments);
  const CCommandLineInfoWav again = CCommandLineInfoWav::parse(arguments);
  FUZZ_CHECK(first.launchParameters() == again.launchParameters());

  const qsizetype launch = arguments.indexOf(QLatin1String(CCommandLineInfoWav::kLaunchWord), 1);
  FUZZ_CHECK(first.launchRequested() == (launch > 0));
  if (launch > 0) {
    FUZZ_CHECK(first.launchArguments() == arguments.mid(launch + 1));
    return 0;
  }

  for (const char* last : {"/TOKEN:77", "TOKEN:77", "-TOKEN:77"}) {
    const CCommandLineInfoWav withToken =
        CCommandLineInfoWav::parse(arguments + QStringList{QLatin1String(last)});
    FUZZ_CHECK(withToken.launchParameters().token == 77);
    FUZZ_CHECK(withToken.launchParameters().launchedWithParameters);
  }
  // A trailing switch without a colon cancels the launch.
  const CCommandLineInfoWav cancelled =
      CCommandLineInfoWav::parse(arguments + QStringList{QStringLiteral("/x")});
  FUZZ_CHECK(!cancelled.launchParameters().launchedWithParameters);
  return 0;
}
