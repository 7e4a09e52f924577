#include "controls/ClrButton.h"

#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "controls/ColorRef.h"

namespace {

// Every colour the button's picture holds.
std::set<uint32_t> GetPictureColours(CClrButton& button) {
  const QImage image = button.grab().toImage();
  std::set<uint32_t> setColours;
  for (int nY = 0; nY < image.height(); ++nY)
    for (int nX = 0; nX < image.width(); ++nX) setColours.insert(ToColorRef(image.pixelColor(nX, nY)));
  return setColours;
}

TEST(ClrButtonTest, PictureShowsFaceCaptionAndEmbossedDisabledCaption) {
  const uint32_t clrRed = MakeColorRef(255, 0, 0);
  const uint32_t clrBlue = MakeColorRef(0, 0, 255);
  const uint32_t clrGreen = MakeColorRef(0, 255, 0);
  CClrButton button;
  button.resize(160, 30);
  const uint32_t clrSystemFace = button.GetFaceColour();
  button.SetColours(clrRed, clrBlue, MakeColorRef(7, 8, 9));
  button.SetColours(clrRed, clrBlue);
  EXPECT_EQ(button.GetDisabledFaceColour(), clrSystemFace) << "two colours reset the disabled face";
  button.SetColours(clrRed, clrBlue, clrGreen);
  button.SetFont("Sample", "10", 1);
  EXPECT_EQ(button.text().toStdString(), "Sample (Bold , 10)");

  const std::set<uint32_t> setEnabled = GetPictureColours(button);
  EXPECT_TRUE(setEnabled.count(clrBlue)) << "face";
  EXPECT_TRUE(setEnabled.count(clrRed)) << "caption in the text colour";
  button.setEnabled(false);
  const std::set<uint32_t> setDisabled = GetPictureColours(button);
  EXPECT_TRUE(setDisabled.count(clrGreen)) << "disabled face";
  EXPECT_FALSE(setDisabled.count(clrBlue));
  EXPECT_FALSE(setDisabled.count(clrRed)) << "no text colour while disabled";
  EXPECT_TRUE(setDisabled.count(MakeColorRef(128, 128, 128))) << "grey caption";
  EXPECT_TRUE(setDisabled.count(MakeColorRef(255, 255, 255))) << "white shadow of the caption";
}

}  // namespace
