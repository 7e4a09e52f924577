// Colours as this system stores them: 32-bit values 0x00BBGGRR (red in the low byte), and
// their conversion to and from Qt's colours.
#pragma once

#include <QColor>
#include <cstdint>

constexpr uint32_t MakeColorRef(int nRed, int nGreen, int nBlue) {
  return (static_cast<uint32_t>(nRed) & 0xFF) | ((static_cast<uint32_t>(nGreen) & 0xFF) << 8) |
         ((static_cast<uint32_t>(nBlue) & 0xFF) << 16);
}

inline QColor ToQColor(uint32_t clrColor) {
  return QColor(static_cast<int>(clrColor & 0xFF), static_cast<int>((clrColor >> 8) & 0xFF),
                static_cast<int>((clrColor >> 16) & 0xFF));
}

// The alpha channel is dropped: stored colours are always opaque.
inline uint32_t ToColorRef(const QColor& color) {
  return MakeColorRef(color.red(), color.green(), color.blue());
}
