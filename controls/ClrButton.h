// A push button drawn by itself: a solid fill in its face colour under a 3D frame, with a
// caption that can name a font ("Arial (Bold , 10)"). The appearance dialog uses one as the
// swatch of the colour being edited (the chosen colour as both text and face colour) and one
// as the sample of the chosen font.
#pragma once

#include <QPushButton>
#include <cstdint>
#include <string>

class CClrButton : public QPushButton {
  Q_OBJECT

 public:
  explicit CClrButton(QWidget* pParent = nullptr);

  // Text and face colour; the disabled face goes back to the system's button face.
  void SetColours(uint32_t clrText, uint32_t clrFace);
  void SetColours(uint32_t clrText, uint32_t clrFace, uint32_t clrDisabledFace);
  // All seven colours from the system.
  void ResetColours();

  uint32_t GetTextColour() const { return m_clrText; }
  uint32_t GetFaceColour() const { return m_clrFace; }
  uint32_t GetDisabledFaceColour() const { return m_clrDisabledFace; }
  const std::string& GetFontName() const { return m_strFontName; }
  const std::string& GetFontSize() const { return m_strFontSize; }
  int32_t GetFontStyle() const { return m_nFontStyle; }

  // Sets the caption from the font (FormatFontCaption) and keeps the three values.
  void SetFont(const std::string& strName, const std::string& strSize, int32_t nStyle);

 protected:
  void paintEvent(QPaintEvent* pEvent) override;

 private:
  void DrawFrame(QPainter& painter, QRect rcFrame) const;

  uint32_t m_clrText = 0;
  uint32_t m_clrFace = 0;
  uint32_t m_clrDisabledFace = 0;
  uint32_t m_clrLight = 0;
  uint32_t m_clrHighlight = 0;
  uint32_t m_clrShadow = 0;
  uint32_t m_clrDarkShadow = 0;
  std::string m_strFontName;
  std::string m_strFontSize;
  int32_t m_nFontStyle = -1;
};
