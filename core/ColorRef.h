#pragma once

#include <QColor>
#include <cstdint>

// Colours are stored and exchanged as 0x00BBGGRR values: red in the low byte,
// so 0x000000FF is red. These two are the only conversions in the program.
QColor colorFromRef(std::uint32_t ref);
std::uint32_t refFromColor(const QColor& color);
