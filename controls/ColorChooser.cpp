#include "controls/ColorChooser.h"

#include <QColorDialog>
#include <utility>

#include "controls/ColorRef.h"

namespace {

ColorChooserFn& GetInstalledChooser() {
  static ColorChooserFn s_fnChooser;
  return s_fnChooser;
}

bool RunColorDialog(QWidget* pParent, uint32_t& clrColor) {
  const QColor color = QColorDialog::getColor(ToQColor(clrColor), pParent);
  if (!color.isValid()) return false;
  clrColor = ToColorRef(color);
  return true;
}

}  // namespace

bool ChooseColor(QWidget* pParent, uint32_t& clrColor) {
  // Called through a copy: a chooser may replace itself while it runs.
  const ColorChooserFn fnChooser = GetInstalledChooser();
  uint32_t clrChosen = clrColor;
  const bool bConfirmed = fnChooser ? fnChooser(pParent, clrChosen) : RunColorDialog(pParent, clrChosen);
  if (bConfirmed) clrColor = clrChosen;
  return bConfirmed;
}

void SetColorChooser(ColorChooserFn fnChooser) { GetInstalledChooser() = std::move(fnChooser); }
