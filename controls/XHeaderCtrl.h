// The header of the colour-box list: paints its items off screen and copies them in one
// step, in the system's button colours, with a fixed gap between an item's image and text.
#pragma once

#include <QHeaderView>

class CXHeaderCtrl : public QHeaderView {
  Q_OBJECT

 public:
  // Pixels between an item's image and its text; the list's cells use the same gap.
  static constexpr int kSpacing = 6;

  explicit CXHeaderCtrl(QWidget* pParent = nullptr);

 protected:
  void paintEvent(QPaintEvent* pEvent) override;

 private:
  // One item: face, raised edge, image (the item's decoration) and text.
  void DrawItem(QPainter& painter, const QRect& rcItem, int nLogical) const;
};
