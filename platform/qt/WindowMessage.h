// Numbered window messages (1933, 1132, 1147, ...) carried as a custom event, delivered
// synchronously so that the sender gets the receiver's answer, as a sent message would.
#pragma once

#include <QEvent>
#include <cstdint>

#include "platform/PlatformApi.h"

class QObject;

class PLATFORM_API CWindowMessageEvent : public QEvent {
 public:
  CWindowMessageEvent(uint32_t nMessage, uintptr_t wParam, intptr_t lParam);

  // The one event type all numbered messages share; registered once.
  static QEvent::Type GetEventType();

  uint32_t m_nMessage;
  uintptr_t m_wParam;
  intptr_t m_lParam;
  intptr_t m_nResult = 0;  // set by the receiver
};

// Sends the message to the object and returns what its receiver set as result (0 when the
// receiver did not handle it or pTarget is null).
PLATFORM_API intptr_t SendWindowMessage(QObject* pTarget, uint32_t nMessage, uintptr_t wParam,
                                        intptr_t lParam);
