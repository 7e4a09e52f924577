// The system's 3D colours and the one-pixel edges that owner-drawn controls build their raised
// and sunken frames from.
#pragma once

#include <QPalette>
#include <cstdint>

class QPainter;
class QRect;

// The active palette's colour of a role, as a colour reference.
uint32_t GetSystemColour(QPalette::ColorRole nRole);

// A one-pixel edge: top and left in one colour, bottom and right in the other.
void DrawEdge(QPainter& painter, const QRect& rcEdge, uint32_t clrTopLeft, uint32_t clrBottomRight);
