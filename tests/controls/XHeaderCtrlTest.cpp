#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTableWidget>

#include "controls/ColorRef.h"
#include "controls/XHeaderCtrl.h"
#include "controls/XMemDC.h"

namespace {

TEST(XMemDC, CopiesEverythingOntoTheTargetInOneStepAtTheArea) {
  QImage image(40, 30, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  {
    CXMemDC dc(painter, QRect(10, 5, 20, 20));
    dc.GetPainter().fillRect(QRect(10, 5, 20, 20), Qt::red);
    dc.GetPainter().fillRect(QRect(12, 7, 4, 4), Qt::blue);
    EXPECT_EQ(image.pixelColor(15, 15), QColor(Qt::white)) << "nothing reaches the target before the copy";
  }
  painter.end();
  const std::pair<QPoint, QColor> arrCases[] = {{{10, 5}, Qt::red},    {{29, 24}, Qt::red},
                                                {{13, 8}, Qt::blue},   {{9, 5}, Qt::white},
                                                {{30, 24}, Qt::white}, {{10, 25}, Qt::white}};
  for (const auto& [pt, color] : arrCases) EXPECT_EQ(image.pixelColor(pt), color) << pt.x() << "," << pt.y();
}

TEST(XHeaderCtrl, PaintsInTheButtonColorsWithTheGapBetweenImageAndText) {
  const uint32_t clrFace = MakeColorRef(200, 200, 160);
  const uint32_t clrShadow = MakeColorRef(90, 90, 90);
  QTableWidget table(1, 2);
  auto* pHeader = new CXHeaderCtrl(&table);
  table.setHorizontalHeader(pHeader);
  QPalette pal = pHeader->palette();
  pal.setColor(QPalette::Button, ToQColor(clrFace));
  pal.setColor(QPalette::Light, Qt::white);
  pal.setColor(QPalette::Dark, ToQColor(clrShadow));
  pal.setColor(QPalette::ButtonText, ToQColor(MakeColorRef(0, 0, 128)));
  pHeader->setPalette(pal);
  QPixmap pixIcon(16, 16);
  pixIcon.fill(Qt::magenta);
  table.setHorizontalHeaderItem(0, new QTableWidgetItem(QIcon(pixIcon), "Keyword"));
  table.setHorizontalHeaderItem(1, new QTableWidgetItem("Color"));
  table.setColumnWidth(0, 120);
  table.setColumnWidth(1, 100);
  table.resize(300, 120);
  table.show();

  const QImage image = pHeader->grab().toImage();
  const auto PixelAt = [&](int nX, int nY) { return ToColorRef(image.pixelColor(nX, nY)); };
  const int nMiddle = image.height() / 2;
  // Highlight on top, shadow at the bottom and on the right, face right of the last item.
  EXPECT_EQ((std::vector<uint32_t>{PixelAt(1, 0), PixelAt(60, image.height() - 1), PixelAt(119, nMiddle),
                                   PixelAt(280, nMiddle)}),
            (std::vector<uint32_t>{MakeColorRef(255, 255, 255), clrShadow, clrShadow, clrFace}));

  // The image starts one gap in; the text starts no closer than one gap after it.
  int nImageLeft = -1, nImageRight = -1, nTextLeft = -1;
  for (int nX = 1; nX < 119; ++nX)
    if (PixelAt(nX, nMiddle) == ToColorRef(Qt::magenta)) {
      if (nImageLeft < 0) nImageLeft = nX;
      nImageRight = nX;
    }
  for (int nX = nImageRight + 1; nX < 119 && nTextLeft < 0; ++nX)
    for (int nY = 1; nY < image.height() - 1 && nTextLeft < 0; ++nY)
      if (PixelAt(nX, nY) != clrFace) nTextLeft = nX;
  EXPECT_EQ(std::pair(nImageLeft, nImageRight - nImageLeft + 1), std::pair(CXHeaderCtrl::kSpacing, 16));
  EXPECT_GE(nTextLeft, nImageRight + 1 + CXHeaderCtrl::kSpacing);
  EXPECT_LE(nTextLeft, nImageRight + 1 + CXHeaderCtrl::kSpacing + 3);
}

}  // namespace
