#pragma once

// Free of Qt, so the stand-in server stores a port's unit with the same type.
class QString;

// The level unit a launch names by its code; the amplitude offset that turns
// the server's dBmV levels into that unit is derived from it, never stored
// beside it.
class LevelUnit {
public:
  enum Code : int { kDbmv = 0, kDbm = 1, kDbuv = 2 };

  constexpr LevelUnit() = default;
  // Codes other than 1 and 2 read as dBmV.
  static constexpr LevelUnit fromCode(int code) { return LevelUnit(code == kDbm || code == kDbuv ? code : kDbmv); }

  constexpr int code() const { return m_code; }
  // Added to every level shown or written.
  constexpr double offset() const { return m_code == kDbm ? -48.75 : m_code == kDbuv ? 60.0 : 0.0; }
  // "dBmV", "dBm" or "dBuV".
  QString text() const;

  constexpr bool operator==(const LevelUnit&) const = default;

private:
  constexpr explicit LevelUnit(int code) : m_code(code) {}
  int m_code = kDbmv;
};
