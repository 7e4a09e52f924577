// A report list whose selected rows can be dragged to another place in the same list or onto
// another drag list. Before a row leaves for another list the list asks its parent widget
// whether the row may go; a row the parent keeps stays, with a message box.
#pragma once

#include <QIcon>
#include <QList>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <vector>

#include "controls/ReportListWidget.h"

class QLabel;

// Sent (synchronously) to the source list's parent for each row that would leave it for
// another list: wParam is the row's first-column text (const char*, UTF-8, zero-terminated),
// lParam 0; a non-zero result keeps the row.
inline constexpr uint32_t kMsgFixedColumnQuery = 1132;  // WM_USER + 108

class CHvDragListCtrl : public CReportListWidget {
  Q_OBJECT

 public:
  // Auto-scroll while the cursor is above or below the rows during a drag.
  static constexpr int kScrollNone = 0;
  static constexpr int kScrollUp = 1;
  static constexpr int kScrollDown = 2;
  static constexpr int kAutoScrollInterval = 100;  // milliseconds, one line per tick
  // A moved row keeps at most this many characters of its text.
  static constexpr int kMaxTextLength = 254;

  explicit CHvDragListCtrl(QWidget* pParent = nullptr);
  ~CHvDragListCtrl() override;

  // A new row with its first-column text; its index, or -1 when nRow is negative. A position
  // past the end appends.
  int InsertItem(int nRow, const QString& strText);

  bool SetItemData(int nRow, uint64_t nData);
  uint64_t GetItemData(int nRow) const;  // 0 for a row out of range
  // Image list index of the row, -1 for none.
  bool SetItemImage(int nRow, int nImage);
  int GetItemImage(int nRow) const;
  void SetImageList(const QList<QIcon>& arrImages);
  // Check state: -1 when the row has no check box, else 0 or 1.
  bool SetCheck(int nRow, bool bChecked);
  int GetCheck(int nRow) const;
  // In a single-selection list selecting a row deselects the others.
  bool SetItemSelected(int nRow, bool bSelected);
  bool IsItemSelected(int nRow) const;
  std::vector<int> GetSelectedRows() const;  // ascending

  void SetSingleSelection(bool bSingle);
  bool IsSingleSelection() const { return selectionMode() == SingleSelection; }

  // The steps of a drag, which the mouse drives and tests call directly.
  // Collects the selected rows; false (and no drag) when none is selected.
  bool BeginDrag();
  bool IsDragging() const { return m_bDragging; }
  // Marks the row a drop within this list goes after; a row out of range leaves it as it is.
  void HighlightDropRow(int nRow);
  int GetDropHighlightRow() const { return m_nDropRow; }
  // Starts, turns or stops the auto-scroll by where the cursor (global) is against the rows.
  void UpdateAutoScroll(const QPoint& ptGlobal);
  int GetAutoScrollDirection() const { return m_nScrollDirection; }
  bool IsAutoScrollRunning() const { return m_timerScroll.isActive(); }
  // One tick of the auto-scroll: one line and the drop highlight one row.
  void AutoScrollStep();
  // Ends the drag by dropping onto pTarget. Within this list the rows go after the highlighted
  // row (or to the end); onto another list they go to nTargetRow, the row under the cursor
  // there (or to the end when -1). A null target ends the drag and moves nothing.
  void DropRows(CHvDragListCtrl* pTarget, int nTargetRow);

 protected:
  void mousePressEvent(QMouseEvent* pEvent) override;
  void mouseMoveEvent(QMouseEvent* pEvent) override;
  void mouseReleaseEvent(QMouseEvent* pEvent) override;

 private:
  // What moves with a row.
  struct sRowCopy {
    QString strText;
    int nImage = -1;
    bool bSelected = false;
    bool bFocused = false;
    uint64_t nData = 0;
    int nCheck = -1;
  };

  sRowCopy ReadRow(int nRow) const;
  void InsertRowCopy(int nRow, const sRowCopy& row);
  void MoveRowsWithin(int nHighlightRow);
  void MoveRowsTo(CHvDragListCtrl* pTarget, int nTargetRow);
  void FinishDrag();
  void ClearDropHighlight();

  // The mouse side of a drag: the image that follows the cursor and the drop list under it.
  void ShowDragImage(const QPoint& ptGlobal);
  void MoveDrag(const QPoint& ptGlobal);
  static CHvDragListCtrl* FindDragListAt(const QPoint& ptGlobal);

  QList<QIcon> m_arrImages;
  std::vector<uint32_t> m_arrDragRows;  // ascending
  bool m_bDragging = false;
  int m_nDropRow = -1;
  std::unique_ptr<QLabel> m_pDragImage;
  int m_nScrollDirection = kScrollNone;
  QTimer m_timerScroll;
  bool m_bSingleSelectionSaved = false;
  // Where the left button went down, and whether on a row (a drag starts only from a row).
  QPoint m_ptPress;
  bool m_bPressOnRow = false;
};
