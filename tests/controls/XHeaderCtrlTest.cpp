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
  struct sCase {
    QPoint pt;
    QColor color;
  };
  const sCase arrCases[] = {
      {{10, 5}, Qt::red},  {{29, 24}, Qt::red},   {{13, 8}, Qt::blue},
      {{9, 5}, Qt::white}, {{30, 24}, Qt::white}, {{10, 25}, Qt::white},
  };
  for (const sCase& test : arrCases)
    EXPECT_EQ(image.pixelColor(test.pt), test.color) << test.pt.x() << "," << test.pt.y();
}

TEST(XHeaderCtrl, PaintsInTheButtonColorsWithTheGapBetweenImageAndText) {
  QTableWidget table(1, 2);
  auto* pHeader = new CXHeaderCtrl(&table);
  table.setHorizontalHeader(pHeader);
  QPalette pal = pHeader->palette();
  pal.setColor(QPalette::Button, ToQColor(MakeColorRef(200, 200, 160)));
  pal.setColor(QPalette::Light, Qt::white);
  pal.setColor(QPalette::Dark, ToQColor(MakeColorRef(90, 90, 90)));
  pal.setColor(QPalette::ButtonText, ToQColor(MakeColorRef(0, 0, 128)));
  pHeader->setPalette(pal);
  QPixmap pixIcon(16, 16);
  pixIcon.fill(Qt::magenta);
  auto* pFirst = new QTableWidgetItem(QIcon(pixIcon), "Keyword");
  table.setHorizontalHeaderItem(0, pFirst);
  table.setHorizontalHeaderItem(1, new QTableWidgetItem("Color"));
  table.setColumnWidth(0, 120);
  table.setColumnWidth(1, 100);
  table.resize(300, 120);
  table.show();

  const QImage image = pHeader->grab().toImage();
  const auto PixelAt = [&](int nX, int nY) { return ToColorRef(image.pixelColor(nX, nY)); };
  const int nMiddle = image.height() / 2;
  EXPECT_EQ(PixelAt(1, 0), MakeColorRef(255, 255, 255)) << "highlight on top";
  EXPECT_EQ(PixelAt(60, image.height() - 1), MakeColorRef(90, 90, 90)) << "shadow at the bottom";
  EXPECT_EQ(PixelAt(119, nMiddle), MakeColorRef(90, 90, 90)) << "shadow on the right";
  EXPECT_EQ(PixelAt(280, nMiddle), MakeColorRef(200, 200, 160)) << "face right of the last item";

  // The image starts one gap in; the text starts no closer than one gap after it.
  int nImageLeft = -1;
  int nImageRight = -1;
  int nTextLeft = -1;
  for (int nX = 1; nX < 119; ++nX) {
    const uint32_t clr = PixelAt(nX, nMiddle);
    if (clr == ToColorRef(Qt::magenta)) {
      if (nImageLeft < 0) nImageLeft = nX;
      nImageRight = nX;
    }
  }
  for (int nX = nImageRight + 1; nX < 119 && nTextLeft < 0; ++nX)
    for (int nY = 1; nY < image.height() - 1; ++nY)
      if (PixelAt(nX, nY) != MakeColorRef(200, 200, 160)) {
        nTextLeft = nX;
        break;
      }
  EXPECT_EQ(nImageLeft, CXHeaderCtrl::kSpacing);
  EXPECT_EQ(nImageRight - nImageLeft + 1, 16);
  EXPECT_GE(nTextLeft, nImageRight + 1 + CXHeaderCtrl::kSpacing);
  EXPECT_LE(nTextLeft, nImageRight + 1 + CXHeaderCtrl::kSpacing + 3);
}

}  // namespace
