// The filter value popup of the filter lists: a small captionless window with one list box,
// shown at the cursor when a header's filter button is clicked. It lists the distinct non-empty
// texts of that column over the rows the list shows; Enter joins the selected entries with '~'
// and sets them as the column's filter. It closes when it loses activation.
//
// One popup serves the whole module: it is created on first use and re-targeted at each use.
// It belongs to the list it was last shown for and goes with it.
#pragma once

#include <QDialog>
#include <QPointer>
#include <cstdint>

class CFilterListCtrl;
class QListWidget;

class CFilterText : public QDialog {
  Q_OBJECT

 public:
  // The width the list box scrolls over, in pixels.
  static constexpr int kHorizontalExtent = 500;

  // Fills the popup with the values of a list's header position and shows it at the point.
  static CFilterText* ShowFor(CFilterListCtrl& list, int32_t nPosition, const QPoint& ptGlobal);
  // The popup, or null before its first use or after its list went.
  static CFilterText* GetInstance();

  QListWidget* GetListBox() const { return m_pListBox; }
  CFilterListCtrl* GetTarget() const { return m_pTarget; }
  int32_t GetPosition() const { return m_nPosition; }
  // Enter: the selected entries, in list order, joined as the column's filter; the popup closes.
  void ApplySelection();

 protected:
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
  void changeEvent(QEvent* pEvent) override;

 private:
  explicit CFilterText(QWidget* pParent);
  void Fill(CFilterListCtrl& list, int32_t nPosition);

  QListWidget* m_pListBox = nullptr;
  QPointer<CFilterListCtrl> m_pTarget;
  int32_t m_nPosition = -1;
};
