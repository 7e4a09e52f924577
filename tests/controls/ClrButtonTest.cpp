#include "controls/ClrButton.h"

#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "controls/ColorRef.h"

namespace {

// Which of the colours the button's picture holds.
std::vector<bool> FindPictureColours(CClrButton& button, std::initializer_list<uint32_t> arrColours) {
  const QImage image = button.grab().toImage();
  std::set<uint32_t> setColours;
  for (int nY = 0; nY < image.height(); ++nY)
    for (int nX = 0; nX < image.width(); ++nX) setColours.insert(ToColorRef(image.pixelColor(nX, nY)));
  std::vector<bool> arrFound;
  for (const uint32_t clrColour : arrColours) arrFound.push_back(setColours.count(clrColour) != 0);
  return arrFound;
}

TEST(ClrButtonTest, PictureShowsFaceCaptionAndEmbossedDisabledCaption) {
  const uint32_t clrRed = MakeColorRef(255, 0, 0);
  const uint32_t clrBlue = MakeColorRef(0, 0, 255);
  const uint32_t clrGreen = MakeColorRef(0, 255, 0);
  CClrButton button;
  button.resize(160, 30);
  button.SetColours(clrRed, clrBlue, clrGreen);
  button.SetFont("Sample", "10", 1);
  EXPECT_EQ(button.text().toStdString(), "Sample (Bold , 10)");

  EXPECT_EQ(FindPictureColours(button, {clrBlue, clrRed}), std::vector<bool>(2, true)) << "face, caption";
  // Disabled: the disabled face, a grey caption with a white shadow, neither face nor text colour.
  button.setEnabled(false);
  EXPECT_EQ(FindPictureColours(button, {clrGreen, MakeColorRef(128, 128, 128), MakeColorRef(255, 255, 255),
                                        clrBlue, clrRed}),
            (std::vector<bool>{true, true, true, false, false}));

  // Pressed: sunk by two edges, the inner one's light just inside the outer one's highlight.
  button.setEnabled(true);
  button.setDown(true);
  const QImage pressed = button.grab().toImage();
  const int nY = pressed.height() / 2;
  int nRight = pressed.width() - 1;
  while (nRight > 0 && ToColorRef(pressed.pixelColor(nRight, nY)) == clrBlue) --nRight;
  EXPECT_EQ((std::pair{ToColorRef(pressed.pixelColor(nRight, nY)), ToColorRef(pressed.pixelColor(nRight - 1, nY))}),
            (std::pair{ToColorRef(button.palette().color(QPalette::Light)),
                       ToColorRef(button.palette().color(QPalette::Midlight))}));
}

}  // namespace
