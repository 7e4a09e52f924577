#include "platform/qt/WindowMessage.h"

#include <QCoreApplication>
#include <QObject>

CWindowMessageEvent::CWindowMessageEvent(uint32_t nMessage, uintptr_t wParam, intptr_t lParam)
    : QEvent(GetEventType()), m_nMessage(nMessage), m_wParam(wParam), m_lParam(lParam) {}

QEvent::Type CWindowMessageEvent::GetEventType() {
  static const auto s_nType = static_cast<QEvent::Type>(QEvent::registerEventType());
  return s_nType;
}

intptr_t SendWindowMessage(QObject* pTarget, uint32_t nMessage, uintptr_t wParam, intptr_t lParam) {
  if (pTarget == nullptr) return 0;
  CWindowMessageEvent event(nMessage, wParam, lParam);
  QCoreApplication::sendEvent(pTarget, &event);
  return event.m_nResult;
}
