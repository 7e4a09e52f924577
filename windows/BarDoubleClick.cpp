#include "windows/BarDoubleClick.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QMouseEvent>

namespace {

// A docked window floats in its own rectangle made 25 pixels taller and moved 2 pixels right
// and 2 pixels up.
constexpr int kFloatExtraHeight = 25;
constexpr int kFloatShiftX = 2;
constexpr int kFloatShiftY = -2;

// The title is the strip above the window's content.
bool IsOnTitle(const QDockWidget& bar, const QPoint& pt) {
  const QWidget* pContent = bar.widget();
  const int nTitleBottom = pContent != nullptr ? pContent->geometry().top() : bar.height();
  return pt.y() >= 0 && pt.y() < nTitleBottom;
}

class CBarDoubleClickFilter final : public QObject {
 public:
  explicit CBarDoubleClickFilter(QDockWidget& bar) : QObject(&bar), m_bar(bar) {}

  bool eventFilter(QObject* pWatched, QEvent* pEvent) override {
    if (pWatched != &m_bar || pEvent->type() != QEvent::MouseButtonDblClick) return false;
    const auto* pMouse = static_cast<const QMouseEvent*>(pEvent);
    auto* pFrame = qobject_cast<QMainWindow*>(m_bar.parentWidget());
    if (pFrame == nullptr || pMouse->button() != Qt::LeftButton ||
        !IsOnTitle(m_bar, pMouse->position().toPoint()))
      return false;
    HandleBarDoubleClick(m_bar, *pFrame);
    return true;
  }

 private:
  QDockWidget& m_bar;
};

}  // namespace

void HandleBarDoubleClick(QDockWidget& bar, QMainWindow& frame) {
  if (bar.isFloating()) {
    // The frame keeps the floating window's place, so it goes back where it was docked.
    bar.setFloating(false);
    return;
  }
  if (!frame.tabifiedDockWidgets(&bar).isEmpty()) return;
  QRect rcFloat(bar.mapToGlobal(QPoint(0, 0)), bar.size());
  rcFloat.setBottom(rcFloat.bottom() + kFloatExtraHeight);
  rcFloat.translate(kFloatShiftX, kFloatShiftY);
  bar.setFloating(true);
  bar.setGeometry(rcFloat);
}

void InstallBarDoubleClick(QDockWidget& bar) { bar.installEventFilter(new CBarDoubleClickFilter(bar)); }
