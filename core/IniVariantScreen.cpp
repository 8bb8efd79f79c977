#include "core/IniVariantScreen.h"

#include <QFile>
#include <QList>
#include <QSaveFile>
#include <QStringDecoder>
#include <optional>

namespace {

// Nesting deeper than this is not something QSettings writes, and Qt's
// decoder recurses once per level.
constexpr int kMaxDepth = 16;
// What goes in front of a screened value: an escaped "@", so that it needs
// no care about the bytes around it.
constexpr char kScreenPrefix[] = "\\x40";

class PayloadReader {
public:
  PayloadReader(QByteArrayView data, bool nullFlag) : m_data(data), m_nullFlag(nullFlag) {}

  // The QVariant stream forms of the types QSettings itself falls back to:
  // numbers, a character, texts, bytes and lists of these.
  bool variant(int depth) {
    if (depth > kMaxDepth) return false;
    const std::optional<quint32> type = u32();
    if (!type || (m_nullFlag && !skip(1))) return false;
    switch (*type) {
      case 0:  // invalid; a Qt 4 stream still carries a text after it
        return m_nullFlag || text();
      case 1: return skip(1);
      case 2:
      case 3: return skip(4);
      case 4:
      case 5:
      case 6: return skip(8);
      case 7: return skip(2);
      case 9: return list([&] { return variant(depth + 1); });
      case 10: return text();
      case 11: return list([&] { return text(); });
      case 12: return bytes();
      default: return false;
    }
  }

private:
  qsizetype left() const { return m_data.size() - m_pos; }
  bool skip(qsizetype n) {
    if (left() < n) return false;
    m_pos += n;
    return true;
  }
  std::optional<quint32> u32() {
    if (left() < 4) return std::nullopt;
    quint32 v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | quint8(m_data[m_pos + i]);
    m_pos += 4;
    return v;
  }
  bool bytes() {
    const std::optional<quint32> n = u32();
    return n && (*n == 0xffffffffu || skip(qsizetype(*n)));
  }
  bool text() {
    const std::optional<quint32> n = u32();
    return n && (*n == 0xffffffffu || ((*n & 1) == 0 && skip(qsizetype(*n))));
  }
  // Every element takes at least four bytes: a larger count is a lie that
  // Qt would still reserve room for.
  template <typename Element>
  bool list(Element element) {
    const std::optional<quint32> n = u32();
    if (!n || qsizetype(*n) > left() / 4) return false;
    for (quint32 i = 0; i < *n; ++i)
      if (!element()) return false;
    return true;
  }

  QByteArrayView m_data;
  qsizetype m_pos = 0;
  bool m_nullFlag;
};

// One text of a value (a value with unquoted commas is a list of them) and
// where in the file the escape or run that gave its first character starts.
struct Piece {
  QString text;
  qsizetype source = -1;
};

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
int hexValue(char c) {
  return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}
bool isOctDigit(char c) {
  return c >= '0' && c <= '7';
}

std::optional<char> simpleEscape(char c) {
  switch (c) {
    case 'a': return '\a';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'v': return '\v';
    case '"':
    case '?':
    case '\'':
    case '\\': return c;
    default: return std::nullopt;
  }
}

void chopTrailingSpaces(QString& s, qsizetype limit) {
  while (s.size() > limit && (s.back() == QLatin1Char(' ') || s.back() == QLatin1Char('\t'))) s.chop(1);
}

// The texts of one value, unescaped as QSettings unescapes them: quotes,
// backslash escapes (hex and octal without a length limit), UTF-8 runs
// through one decoder, trailing blanks dropped outside quotes.
QList<Piece> unescapedPieces(QByteArrayView v, qsizetype from, qsizetype to) {
  QList<Piece> pieces;
  Piece cur;
  bool inQuotes = false;
  bool curQuoted = false;
  bool chopAtEnd = true;
  qsizetype i = from;
  qsizetype chopLimit = 0;
  QStringDecoder utf8(QStringDecoder::Utf8);
  auto add = [&](const QString& s, qsizetype source) {
    if (cur.text.isEmpty() && !s.isEmpty()) cur.source = source;
    cur.text += s;
  };
  auto skipBlanks = [&] {
    while (i < to && (v[i] == ' ' || v[i] == '\t')) ++i;
  };

  skipBlanks();
  chopLimit = cur.text.size();
  while (i < to) {
    const char c = v[i];
    if (c == '\\') {
      const qsizetype start = i++;
      if (i >= to) {
        chopAtEnd = false;
        break;
      }
      const char e = v[i++];
      if (const std::optional<char> plain = simpleEscape(e)) {
        add(QString(QChar(uchar(*plain))), start);
        chopLimit = cur.text.size();
        continue;
      }
      if ((e == 'x' && i < to && isHexDigit(v[i])) || isOctDigit(e)) {
        const bool hex = e == 'x';
        char16_t value = hex ? 0 : char16_t(e - '0');
        while (i < to && (hex ? isHexDigit(v[i]) : isOctDigit(v[i])))
          value = char16_t(hex ? (value << 4) + hexValue(v[i++]) : (value << 3) + (v[i++] - '0'));
        add(QString(QChar(value)), start);
        if (i >= to) {
          chopAtEnd = false;
          break;
        }
        chopLimit = cur.text.size();
        continue;
      }
      if (e == 'x' && i >= to) {
        chopAtEnd = false;
        break;
      }
      if ((e == '\n' || e == '\r') && i < to && (v[i] == '\n' || v[i] == '\r') && v[i] != e) ++i;
      chopLimit = cur.text.size();  // any other escaped character is dropped
      continue;
    }
    if (c == '"') {
      ++i;
      curQuoted = true;
      inQuotes = !inQuotes;
      if (!inQuotes) {
        skipBlanks();
        chopLimit = cur.text.size();
      }
      continue;
    }
    if (c == ',' && !inQuotes) {
      if (!curQuoted) chopTrailingSpaces(cur.text, chopLimit);
      pieces.append(cur);
      cur = Piece();
      curQuoted = false;
      ++i;
      skipBlanks();
      chopLimit = cur.text.size();
      continue;
    }
    qsizetype j = i + 1;
    while (j < to && v[j] != '\\' && v[j] != '"' && v[j] != ',') ++j;
    add(utf8(v.sliced(i, j - i)), i);
    i = j;
  }
  if (chopAtEnd && !curQuoted) chopTrailingSpaces(cur.text, chopLimit);
  pieces.append(cur);
  return pieces;
}

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// One logical line as QSettings splits the file: quotes may span line ends,
// a backslash takes the next character with it, ';' starts a comment.
bool nextLine(QByteArrayView d, qsizetype& pos, qsizetype& lineStart, qsizetype& lineLen, qsizetype& equals) {
  bool inQuotes = false;
  equals = -1;
  lineStart = pos;
  while (lineStart < d.size() && isSpace(d[lineStart])) ++lineStart;
  qsizetype i = lineStart;
  while (i < d.size()) {
    const char ch = d[i++];
    if (ch == '=') {
      if (!inQuotes && equals == -1) equals = i - 1;
    } else if (ch == '\n' || ch == '\r') {
      if (i == lineStart + 1) {
        ++lineStart;
      } else if (!inQuotes) {
        --i;
        break;
      }
    } else if (ch == '\\') {
      if (i < d.size()) {
        const char next = d[i++];
        if (i < d.size()) {
          const char after = d[i];
          if ((next == '\n' && after == '\r') || (next == '\r' && after == '\n')) ++i;
        }
      }
    } else if (ch == '"') {
      inQuotes = !inQuotes;
    } else if (ch == ';') {
      if (i == lineStart + 1) {
        while (i < d.size() && d[i] != '\n' && d[i] != '\r') ++i;
        while (i < d.size() && isSpace(d[i])) ++i;
        lineStart = i;
      } else if (!inQuotes) {
        --i;
        break;
      }
    }
  }
  pos = i;
  lineLen = i - lineStart;
  return lineLen > 0;
}

bool needsScreen(const QString& s) {
  if (!s.endsWith(QLatin1Char(')'))) return false;
  const bool variant = s.startsWith(QLatin1String("@Variant("));
  const bool dateTime = s.startsWith(QLatin1String("@DateTime("));
  if (!variant && !dateTime) return false;
  const QByteArray payload = QStringView(s).sliced(variant ? 9 : 10).toLatin1();
  return !IniVariantScreen::isPlainPayload(payload, dateTime);
}

}  // namespace

bool IniVariantScreen::isPlainPayload(QByteArrayView payload, bool dateTimeForm) {
  // "@DateTime(" streams carry the null flag of Qt 5; "@Variant(" ones are Qt 4.
  PayloadReader reader(payload, dateTimeForm);
  return reader.variant(0);
}

IniVariantScreen::Result IniVariantScreen::screen(QByteArrayView file) {
  const qsizetype bom = file.startsWith("\xef\xbb\xbf") ? 3 : 0;
  const QByteArrayView data = file.sliced(bom);
  QList<qsizetype> at;
  qsizetype pos = 0, lineStart = 0, lineLen = 0, equals = -1;
  while (nextLine(data, pos, lineStart, lineLen, equals)) {
    if (data[lineStart] == '[' || equals < 0) continue;
    for (const Piece& piece : unescapedPieces(data, equals + 1, lineStart + lineLen))
      if (needsScreen(piece.text)) at.append(bom + piece.source);
  }
  Result result;
  result.screenedValues = int(at.size());
  if (at.isEmpty()) {
    result.text = file.toByteArray();
    return result;
  }
  result.text.reserve(file.size() + at.size() * qsizetype(sizeof kScreenPrefix));
  qsizetype copied = 0;
  for (qsizetype offset : at) {
    result.text.append(file.sliced(copied, offset - copied));
    result.text.append(kScreenPrefix);
    copied = offset;
  }
  result.text.append(file.sliced(copied));
  return result;
}

IniVariantScreen::Result IniVariantScreen::screenFileText(const QString& path) {
  QFile in(path);
  return in.open(QIODevice::ReadOnly) ? screen(in.readAll()) : Result();
}

int IniVariantScreen::screenFile(const QString& path) {
  const Result result = screenFileText(path);
  if (result.screenedValues == 0) return 0;
  QSaveFile out(path);
  if (!out.open(QIODevice::WriteOnly) || out.write(result.text) != result.text.size() || !out.commit())
    return -1;
  return result.screenedValues;
}
