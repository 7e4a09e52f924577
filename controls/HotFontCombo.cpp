#include "controls/HotFontCombo.h"

#include <QAbstractItemView>
#include <QCursor>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

#include "controls/ColorRef.h"
#include "controls/Edge3d.h"
#include "controls/FontChoice.h"

namespace {

constexpr int kEntryPointSize = 11;
constexpr int kHoverTimerMs = 10;

// Draws each entry in its own face: highlight colours when selected, window colours otherwise,
// the name at the entry's top-left corner.
class CFontEntryDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* pPainter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool bSelected = (option.state & QStyle::State_Selected) != 0;
    const QPalette& palette = option.palette;
    pPainter->fillRect(option.rect, palette.color(bSelected ? QPalette::Highlight : QPalette::Base));
    const QString strName = index.data(Qt::DisplayRole).toString();
    QFont fontEntry(strName);
    fontEntry.setPointSize(kEntryPointSize);
    pPainter->setFont(fontEntry);
    pPainter->setPen(palette.color(bSelected ? QPalette::HighlightedText : QPalette::Text));
    pPainter->drawText(option.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, strName);
  }

  // Every entry has the same height.
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QFont fontEntry(index.data(Qt::DisplayRole).toString());
    fontEntry.setPointSize(kEntryPointSize);
    const QFontMetrics metrics(fontEntry);
    QFont fontDefault = option.font;
    fontDefault.setPointSize(kEntryPointSize);
    return {metrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()), QFontMetrics(fontDefault).height() + 2};
  }
};

}  // namespace

CHotFontCombo::CHotFontCombo(QWidget* pParent) : QComboBox(pParent) {
  setEditable(false);
  setItemDelegate(new CFontEntryDelegate(this));
  setMouseTracking(true);
  LoadFrameColours();
  connect(this, &QComboBox::textActivated, this,
          [this](const QString& strText) { m_strCurrentFontName = strText.toStdString(); });
  connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, this, &CHotFontCombo::FillFonts);
}

void CHotFontCombo::FillFonts() {
  clear();
  std::vector<std::string> arrFamilies;
  for (const QString& strFamily : QFontDatabase::families(QFontDatabase::Latin)) {
    arrFamilies.push_back(strFamily.toStdString());
  }
  std::sort(arrFamilies.begin(), arrFamilies.end());
  for (const std::string& strFamily : arrFamilies) addItem(QString::fromStdString(strFamily));
  setCurrentIndex(FindEntryIgnoringCase(arrFamilies, m_strCurrentFontName));
}

std::vector<std::string> CHotFontCombo::GetEntries() const {
  std::vector<std::string> arrEntries;
  for (int nIndex = 0; nIndex < count(); ++nIndex) arrEntries.push_back(itemText(nIndex).toStdString());
  return arrEntries;
}

void CHotFontCombo::LoadFrameColours() {
  m_clrFace = GetSystemColour(QPalette::Button);
  m_clrLight = GetSystemColour(QPalette::Midlight);
  m_clrHighlight = GetSystemColour(QPalette::Light);
  m_clrShadow = GetSystemColour(QPalette::Dark);
  m_clrDarkShadow = GetSystemColour(QPalette::Shadow);
}

void CHotFontCombo::DrawFrame(QPainter& painter) const {
  const QRect rcOuter = rect().adjusted(0, 0, -1, -1);
  const QRect rcInner = rcOuter.adjusted(1, 1, -1, -1);
  if (IsHot()) {
    DrawEdge(painter, rcOuter, m_clrDarkShadow, m_clrLight);
    DrawEdge(painter, rcInner, m_clrShadow, m_clrHighlight);
  } else {
    DrawEdge(painter, rcOuter, m_clrFace, m_clrFace);
    DrawEdge(painter, rcInner, m_clrFace, m_clrFace);
  }
}

void CHotFontCombo::paintEvent(QPaintEvent* pEvent) {
  QComboBox::paintEvent(pEvent);
  QPainter painter(this);
  DrawFrame(painter);
}

void CHotFontCombo::focusInEvent(QFocusEvent* pEvent) {
  QComboBox::focusInEvent(pEvent);
  m_bFocused = true;
  update();
}

void CHotFontCombo::focusOutEvent(QFocusEvent* pEvent) {
  QComboBox::focusOutEvent(pEvent);
  // The drop-down list taking the focus still counts as the control's.
  m_bFocused = pEvent->reason() == Qt::PopupFocusReason;
  update();
}

void CHotFontCombo::StartHover() {
  if (m_bHover) return;
  m_bHover = true;
  m_hoverTimer.start(kHoverTimerMs, this);
  update();
}

void CHotFontCombo::enterEvent(QEnterEvent* pEvent) {
  QComboBox::enterEvent(pEvent);
  StartHover();
}

void CHotFontCombo::mouseMoveEvent(QMouseEvent* pEvent) {
  QComboBox::mouseMoveEvent(pEvent);
  StartHover();
}

void CHotFontCombo::timerEvent(QTimerEvent* pEvent) {
  if (pEvent->timerId() != m_hoverTimer.timerId()) {
    QComboBox::timerEvent(pEvent);
    return;
  }
  if (rect().contains(mapFromGlobal(QCursor::pos()))) return;
  m_hoverTimer.stop();
  m_bHover = false;
  update();
}

void CHotFontCombo::changeEvent(QEvent* pEvent) {
  QComboBox::changeEvent(pEvent);
  if (pEvent->type() == QEvent::PaletteChange || pEvent->type() == QEvent::ApplicationPaletteChange) {
    LoadFrameColours();
    update();
  }
}
