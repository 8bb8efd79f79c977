#pragma once

#include "fuzz/FuzzCheck.h"

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

// An argument list from fuzzer bytes: words separated by NUL, each read as
// UTF-8 (invalid sequences become replacement characters, as a command line
// from the shell would through the program's locale).
inline QStringList wordsFrom(const uint8_t* data, std::size_t size) {
  QStringList words;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= size; ++i) {
    if (i == size || data[i] == 0) {
      words.append(QString::fromUtf8(reinterpret_cast<const char*>(data + start), qsizetype(i - start)));
      start = i + 1;
    }
  }
  return words;
}
