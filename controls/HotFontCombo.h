// The font choice of the font dialog: a sorted drop-down list of the installed font families,
// each drawn in its own face, under a frame that is flat in its normal state and sunken while
// the control is hot (focused, or under the mouse).
#pragma once

#include <QBasicTimer>
#include <QComboBox>
#include <cstdint>
#include <string>
#include <vector>

class CHotFontCombo : public QComboBox {
  Q_OBJECT

 public:
  explicit CHotFontCombo(QWidget* pParent = nullptr);

  void SetCurrentFontName(const std::string& strName) { m_strCurrentFontName = strName; }
  const std::string& GetCurrentFontName() const { return m_strCurrentFontName; }
  // Fills the choice with the installed families in byte order of their names and selects the
  // one equal to the current font name (ignoring case), or none.
  void FillFonts();
  std::vector<std::string> GetEntries() const;
  bool IsHot() const { return m_bFocused || m_bHover || !isEnabled(); }
  bool IsHover() const { return m_bHover; }

 protected:
  void paintEvent(QPaintEvent* pEvent) override;
  void focusInEvent(QFocusEvent* pEvent) override;
  void focusOutEvent(QFocusEvent* pEvent) override;
  void enterEvent(QEnterEvent* pEvent) override;
  void mouseMoveEvent(QMouseEvent* pEvent) override;
  void timerEvent(QTimerEvent* pEvent) override;
  void changeEvent(QEvent* pEvent) override;

 private:
  void LoadFrameColours();
  void StartHover();
  void DrawFrame(QPainter& painter) const;

  std::string m_strCurrentFontName;
  bool m_bFocused = false;
  bool m_bHover = false;
  QBasicTimer m_hoverTimer;
  uint32_t m_clrFace = 0;
  uint32_t m_clrLight = 0;
  uint32_t m_clrHighlight = 0;
  uint32_t m_clrShadow = 0;
  uint32_t m_clrDarkShadow = 0;
};
