#include "app/CCommandLineInfoWav.h"

#include "app/BuildInfo.h"
#include "resources/Strings.h"

#include <limits>

namespace {

// The C library's number conversions are what launchers have always been
// checked against, so they are reproduced here: leading white space and a
// sign, then the longest run of digits; anything else gives 0. They are
// written out rather than called because strtod follows the process locale,
// which Qt sets from the environment (a German desktop would read "5,5").

bool isCSpace(QChar c) {
  const char16_t u = c.unicode();
  return u == u' ' || (u >= u'\t' && u <= u'\r');
}

bool isDigit(QChar c) {
  return c.unicode() >= u'0' && c.unicode() <= u'9';
}

qsizetype skipSpace(const QString& s) {
  qsizetype i = 0;
  while (i < s.size() && isCSpace(s[i])) ++i;
  return i;
}

// atol / atoi: a value beyond 32 bits saturates, as the 32-bit runtime does.
int32_t toInt32(const QString& s) {
  qsizetype i = skipSpace(s);
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  const int64_t limit = negative ? kMax + 1 : kMax;
  int64_t magnitude = 0;
  for (; i < s.size() && isDigit(s[i]); ++i) {
    magnitude = magnitude * 10 + (s[i].unicode() - u'0');
    if (magnitude > limit) {
      magnitude = limit;
      break;
    }
  }
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

// atof over decimal notation: sign, digits with an optional point, an
// optional exponent. Overflow gives an infinity, as strtod's HUGE_VAL.
double toDouble(const QString& s) {
  const qsizetype begin = skipSpace(s);
  qsizetype i = begin;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ++i;
  qsizetype digits = 0;
  for (; i < s.size() && isDigit(s[i]); ++i) ++digits;
  if (i < s.size() && s[i] == u'.') {
    ++i;
    for (; i < s.size() && isDigit(s[i]); ++i) ++digits;
  }
  if (digits == 0) return 0.0;
  // An exponent counts only when at least one digit follows it.
  if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
    qsizetype j = i + 1;
    if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) ++j;
    if (j < s.size() && isDigit(s[j])) {
      while (j < s.size() && isDigit(s[j])) ++j;
      i = j;
    }
  }
  // QString::toDouble always reads the C locale; it rejects a lone "+5", so
  // the sign is handled here.
  QString number = s.mid(begin, i - begin);
  if (number.startsWith(u'+')) number.remove(0, 1);
  return number.toDouble();
}

}  // namespace

void CCommandLineInfoWav::ParseParam(const QString& param, bool isSwitch, bool isLast) {
  // A bare word is read exactly as its switch form, so neither flag changes
  // the reading; they stay in the signature the framework has always used.
  Q_UNUSED(isSwitch);
  Q_UNUSED(isLast);

  // Only the last parameter decides whether this is a launch: anything a
  // caller appends without a value (an automation switch, say) cancels it.
  m_params.launchedWithParameters = false;
  const qsizetype colon = param.indexOf(u':');
  if (colon >= 0) {
    m_params.launchedWithParameters = true;
    parseKeyValue(param.left(colon), param.mid(colon + 1));
  }
  parseStandardSwitch(param);
}

void CCommandLineInfoWav::parseKeyValue(const QString& key, const QString& value) {
  // USER, PW and UD are known to launchers but deliberately not read.
  if (key == u"IP")
    m_params.serverHost = value;
  else if (key == u"TOKEN")
    m_params.token = toInt32(value);
  else if (key == u"LABEL")
    m_params.label = value;
  else if (key == u"NODE")
    m_params.node = toInt32(value);
  else if (key == u"TIMESTART")
    m_params.startTime = toInt32(value);
  else if (key == u"TIMESTOP")
    m_params.stopTime = toInt32(value);
  else if (key == u"QUERY")
    m_params.graphType = toInt32(value);
  else if (key == u"UPTOTHESEC")
    m_params.upToTheSecond = toInt32(value);
  else if (key == u"SFTWFREQ")
    m_params.frequency = toDouble(value);
  else if (key == u"STAT")
    m_params.statistics = toInt32(value);
  else if (key == u"INC")
    m_params.increment = toInt32(value);
}

void CCommandLineInfoWav::parseStandardSwitch(const QString& param) {
  const auto is = [&param](const char16_t* name) {
    return param.compare(QString::fromUtf16(name), Qt::CaseInsensitive) == 0;
  };
  if (is(u"Regserver"))
    m_registerServer = true;
  else if (is(u"Unregserver") || is(u"Unregister"))
    m_unregisterServer = true;
  else if (is(u"Automation"))
    m_runAutomated = true;
  else if (is(u"Embedding"))
    m_runEmbedded = true;
  else if (is(u"help") || is(u"h") || is(u"?"))
    m_help = true;
  else if (is(u"version"))
    m_version = true;
}

CCommandLineInfoWav CCommandLineInfoWav::parse(const QStringList& arguments) {
  CCommandLineInfoWav info;
  const QString launchWord = QString::fromLatin1(kLaunchWord);
  qsizetype end = arguments.size();
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == launchWord) {
      info.m_launchRequested = true;
      info.m_launchArguments = arguments.mid(i + 1);
      end = i;
      break;
    }
  }
  for (qsizetype i = 1; i < end; ++i) {
    QString word = arguments[i];
    const bool isSwitch = word.startsWith(u'/') || word.startsWith(u'-');
    if (isSwitch) {
      // "--help" style is accepted beside the traditional single character.
      word.remove(0, word.startsWith(QStringLiteral("--")) ? 2 : 1);
    }
    info.ParseParam(word, isSwitch, i == end - 1);
  }
  return info;
}

QString CCommandLineInfoWav::usage() {
  using namespace Strings;
  return LoadString(IDS_UI_USAGE_INTRO) + u'\n' + LoadString(IDS_UI_USAGE_KEYS) + u'\n' +
         LoadString(IDS_UI_USAGE_SWITCHES) + u'\n' + LoadString(IDS_UI_USAGE_LAUNCH) + u'\n' +
         LoadString(IDS_UI_USAGE_EXAMPLE);
}

QString CCommandLineInfoWav::versionText() {
  return QStringLiteral("quillon ") + BuildInfo::version() + u'\n';
}

QString CCommandLineInfoWav::consoleAnswer(const QStringList& arguments) {
  const CCommandLineInfoWav info = parse(arguments);
  if (info.helpRequested()) return usage();
  if (info.versionRequested()) return versionText();
  return {};
}
