#include "windows/WindowPlacement.h"

#include <QWidget>
#include <algorithm>

QRect GetListRect(const QSize& szContent, int nBottomMargin) {
  constexpr int kLeft = 5;
  constexpr int kTop = 15;
  constexpr int kRightMargin = 10;
  return QRect(kLeft, kTop, std::max(0, szContent.width() - kRightMargin - kLeft),
               std::max(0, szContent.height() - nBottomMargin - kTop));
}

void CentreOn(QWidget& window, const QWidget* pOwner) {
  if (pOwner == nullptr) return;
  const QPoint ptCentre = pOwner->mapToGlobal(pOwner->rect().center());
  window.move(ptCentre - QPoint(window.width() / 2, window.height() / 2));
}

void ShowCentredOn(QWidget& window, const QWidget* pOwner) {
  window.show();
  window.raise();
  window.activateWindow();
  CentreOn(window, pOwner);
}
