// The colour chooser every control opens, behind one replaceable function so that tests can
// answer it the way a user would.
#pragma once

#include <cstdint>
#include <functional>

class QWidget;

// (parent, colour) -> true when the user confirmed; the colour (0x00BBGGRR) comes in
// preselected and goes out as the choice.
using ColorChooserFn = std::function<bool(QWidget* pParent, uint32_t& clrColor)>;

// Opens the chooser; on Cancel returns false and leaves clrColor unchanged.
bool ChooseColor(QWidget* pParent, uint32_t& clrColor);

// Replaces the chooser; an empty function brings back the platform's colour dialog.
void SetColorChooser(ColorChooserFn fnChooser);
