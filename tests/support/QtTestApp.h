// The one QApplication of a test program, created before the first test and destroyed after
// the last; and helpers that send real mouse events to a widget. A test program that needs the
// application includes this header in one of its files at least.
#pragma once

#include <QPoint>

class QWidget;

// Registers the application with GoogleTest once per program. Kept in the header so that
// every program including it pulls the registration out of the support library.
bool RegisterTestApplication();
inline const bool g_bTestApplication = RegisterTestApplication();

// Sends a left-button press, move or release at pt (pWidget's coordinates) with the left
// button's state as a user's mouse would report it.
void SendLeftPress(QWidget* pWidget, const QPoint& pt);
void SendLeftDragMove(QWidget* pWidget, const QPoint& pt);
void SendLeftRelease(QWidget* pWidget, const QPoint& pt);
