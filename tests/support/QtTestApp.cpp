#include "tests/support/QtTestApp.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <memory>

namespace {

class CQtAppEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int s_nArgc = 1;
    static char s_szName[] = "orvane_test";
    static char* s_argv[] = {s_szName, nullptr};
    m_pApp = std::make_unique<QApplication>(s_nArgc, s_argv);
  }
  void TearDown() override { m_pApp.reset(); }

 private:
  std::unique_ptr<QApplication> m_pApp;
};

void SendMouse(QWidget* pWidget, QEvent::Type nType, const QPoint& pt, Qt::MouseButton nButton,
               Qt::MouseButtons nButtons) {
  QMouseEvent event(nType, QPointF(pt), QPointF(pWidget->mapToGlobal(pt)), nButton, nButtons, Qt::NoModifier);
  QApplication::sendEvent(pWidget, &event);
}

}  // namespace

bool RegisterTestApplication() {
  static const ::testing::Environment* const s_pEnvironment = ::testing::AddGlobalTestEnvironment(new CQtAppEnvironment);
  return s_pEnvironment != nullptr;
}

void SendLeftPress(QWidget* pWidget, const QPoint& pt) {
  SendMouse(pWidget, QEvent::MouseButtonPress, pt, Qt::LeftButton, Qt::LeftButton);
}

void SendLeftDragMove(QWidget* pWidget, const QPoint& pt) {
  SendMouse(pWidget, QEvent::MouseMove, pt, Qt::NoButton, Qt::LeftButton);
}

void SendLeftRelease(QWidget* pWidget, const QPoint& pt) {
  SendMouse(pWidget, QEvent::MouseButtonRelease, pt, Qt::LeftButton, Qt::NoButton);
}
