// The header of a filter list. Its items are coloured by the list's filter state: goldenrod
// for a filtered column, light goldenrod for the others while any column is filtered, button
// face otherwise; the area right of the last item is light goldenrod while the list shows rows.
// It draws the sort image of each item, and it carries the filter bar: one filter edit and one
// filter button per item, laid over the lower half of the header.
//
// A typed change reaches the list after the change time-out: each keystroke restarts it, and
// when it runs out FilterChanged reports the position. A change written with SetFilterText is
// reported at once. Item position and section index are the same: sections are not moved.
//
// With the first section frozen, the first item, its filter edit and its button stay at the
// left edge while the header scrolls sideways, drawn over the items scrolled under them; a
// press there (a click, a resize by the item's right edge) and the tip there are the first
// item's. The list calls FollowScroll after every sideways scroll.
#pragma once

#include <QHeaderView>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <span>
#include <vector>

#include "controls/ColorRef.h"

class QLineEdit;
class QMouseEvent;
class QToolButton;

// What the header asks its list for.
class IFilterHeaderSource {
 public:
  virtual ~IFilterHeaderSource() = default;
  // The column indices that carry a filter text.
  virtual std::span<const int32_t> GetFilterColumns() const = 0;
  // Column index -> header position, -1 for a hidden column.
  virtual std::span<const int32_t> GetPositionMap() const = 0;
  // The number of rows the filtered view shows.
  virtual int32_t GetViewCount() const = 0;
};

// The event moved nDx pixels sideways: a point on a frozen first column, handed to a view where
// that column lies scrolled away.
QMouseEvent MoveMouseEvent(const QMouseEvent& event, int nDx);

// The header data role that gives an item's sort image: 0 (up arrow) while the sort direction
// is -1, 1 (down arrow) while it is +1, 2 (a neutral mark) on the previous sort column; no value
// or -1 for none.
inline constexpr int kSortImageRole = Qt::UserRole + 1;

class CColorHeaderCtrl : public QHeaderView {
  Q_OBJECT

 public:
  static constexpr int kFilterChangeTimeout = 500;  // milliseconds
  static constexpr uint32_t kFilteredColour = MakeColorRef(218, 165, 32);
  static constexpr uint32_t kUnfilteredColour = MakeColorRef(238, 221, 130);

  explicit CColorHeaderCtrl(QWidget* pParent = nullptr);

  // The list the colours come from; null draws every item and the empty area in button face.
  void SetFilterSource(const IFilterHeaderSource* pSource) { m_pSource = pSource; }

  // The filter bar style: the edits exist while it is on. Turning it off empties them.
  void SetFilterBarStyle(bool bOn);
  bool HasFilterBarStyle() const { return m_bFilterBarStyle; }
  // Shows or hides the bar (only with the style on); the header grows by the bar's height.
  void ShowFilterBar(bool bShown);
  bool IsFilterBarShown() const { return m_bFilterBarStyle && m_bFilterBarShown; }

  // Writes a filter edit's text and reports the change at once with FilterChanged.
  void SetFilterText(int nPosition, const QString& strText);
  QString GetFilterText(int nPosition) const;
  // Empties every filter edit without a report.
  void ClearAllFilters();
  void FocusFilterEdit(int nPosition);
  // The position whose filter edit has the keyboard focus, or -1.
  int GetFocusedFilterPosition() const;
  QLineEdit* GetFilterEdit(int nPosition) const;
  QToolButton* GetFilterButton(int nPosition) const;
  // The filter installed on every filter edit, now and later: the list's keys in the edits.
  void SetFilterEditKeyFilter(QObject* pFilter);
  const QTimer& GetFilterTimer() const { return m_timerChange; }

  // The colour an item is drawn with, and that of the area right of the last item.
  QColor GetItemColour(int nPosition) const;
  QColor GetEmptyAreaColour() const;
  // The height of the item texts' row and of the filter bar below it.
  int GetTitleHeight() const;
  int GetFilterBarHeight() const;

  // Gives the first sections these widths, placing the filter widgets once afterwards instead
  // of after every section (which costs the square of the column count).
  void ResizeSections(std::span<const int32_t> arrWidths);

  QSize sizeHint() const override;

  void SetFirstSectionFrozen(bool bOn);
  bool IsFirstSectionFrozen() const { return m_bFirstSectionFrozen; }
  // The width the frozen first item covers at the left edge: 0 unless it is frozen and the
  // header is scrolled.
  int GetFrozenWidth() const;
  // Places the frozen item's widgets and repaints, after the header's offset changed.
  void FollowScroll();

 signals:
  void FilterChanged(int nPosition);
  void FilterButtonClicked(int nPosition);

 protected:
  void paintEvent(QPaintEvent* pEvent) override;
  void updateGeometries() override;
  void mousePressEvent(QMouseEvent* pEvent) override;
  void mouseMoveEvent(QMouseEvent* pEvent) override;
  void mouseReleaseEvent(QMouseEvent* pEvent) override;
  void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
  // The tip of the frozen item where it stands.
  bool viewportEvent(QEvent* pEvent) override;

 private:
  void DrawItem(QPainter& painter, const QRect& rcItem, int nPosition) const;
  void DrawSortImage(QPainter& painter, const QRect& rcImage, int nImage) const;
  // One edit and one button per item while the style is on, none otherwise.
  void SyncFilterWidgets();
  void PlaceFilterWidgets();
  void OnFilterEdited(int nPosition);
  void ReportPendingChange();
  // Hands a mouse event to the header, moved onto the first item where it lies scrolled
  // away, while the event falls on the frozen item (or a press there is held).
  template <class THandle>
  void ForwardMouseEvent(QMouseEvent* pEvent, THandle fnHandle, bool bPress);

  const IFilterHeaderSource* m_pSource = nullptr;
  bool m_bFilterBarStyle = false;
  bool m_bPlacementDeferred = false;  // ResizeSections places the filter widgets at its end
  bool m_bFilterBarShown = true;
  std::vector<QLineEdit*> m_arrEdits;  // owned by the viewport
  std::vector<QToolButton*> m_arrButtons;
  QObject* m_pEditKeyFilter = nullptr;
  QTimer m_timerChange;
  int m_nPendingPosition = -1;
  bool m_bFirstSectionFrozen = false;
  bool m_bFrozenPress = false;  // the held button was pressed on the frozen item
};
