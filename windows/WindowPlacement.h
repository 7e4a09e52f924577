// Placing the plug-in's dialogs over the window that opened them.
#pragma once

#include <QRect>

class QWidget;

// Where a window's list sits in its content: 5 pixels from the left, 15 from the top, its right
// edge 10 pixels inside the content's and its bottom nBottomMargin pixels above the content's.
QRect GetListRect(const QSize& szContent, int nBottomMargin);

// Moves the window so that its centre is the centre of pOwner; nothing without an owner.
void CentreOn(QWidget& window, const QWidget* pOwner);
// Shows the window, brings it to the front and centres it on pOwner.
void ShowCentredOn(QWidget& window, const QWidget* pOwner);
