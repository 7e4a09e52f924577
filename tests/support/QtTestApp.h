// The one QApplication of the control tests, created before the first test and destroyed
// after the last; and helpers that send real mouse events to a widget.
#pragma once

#include <QPoint>

class QWidget;

// Sends a left-button press, move or release at pt (pWidget's coordinates) with the left
// button's state as a user's mouse would report it.
void SendLeftPress(QWidget* pWidget, const QPoint& pt);
void SendLeftDragMove(QWidget* pWidget, const QPoint& pt);
void SendLeftRelease(QWidget* pWidget, const QPoint& pt);
