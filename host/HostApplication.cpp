#include "host/HostApplication.h"

#include <QAbstractEventDispatcher>

#include "host/transport/TransportWire.h"

CHostApplication::CHostApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void CHostApplication::StartTurnMeasuring() {
  QAbstractEventDispatcher* pDispatcher = QAbstractEventDispatcher::instance();
  if (pDispatcher == nullptr || m_bMeasuring) return;
  // Either signal marks the edge of a turn, whichever way the dispatcher places them around
  // its wait.
  connect(pDispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &CHostApplication::EndTurn,
          Qt::DirectConnection);
  connect(pDispatcher, &QAbstractEventDispatcher::awake, this, &CHostApplication::EndTurn,
          Qt::DirectConnection);
  m_turnBusyTimes.Clear();
  m_mapBusyByType.clear();
  m_nTurnBusyNs = 0;
  m_bMeasuring = true;
}

void CHostApplication::StopTurnMeasuring() {
  if (!m_bMeasuring) return;
  EndTurn();
  m_bMeasuring = false;
  if (QAbstractEventDispatcher* pDispatcher = QAbstractEventDispatcher::instance())
    pDispatcher->disconnect(this);
}

const char* CHostApplication::GetDispatcherName() const {
  const QAbstractEventDispatcher* pDispatcher = QAbstractEventDispatcher::instance();
  return pDispatcher == nullptr ? "none" : pDispatcher->metaObject()->className();
}

bool CHostApplication::notify(QObject* pReceiver, QEvent* pEvent) {
  if (!m_bMeasuring || m_nDepth > 0) return QApplication::notify(pReceiver, pEvent);
  ++m_nDepth;
  // The event may be gone when notify returns.
  const int nType = pEvent->type();
  const int64_t nStartNs = halvowire::GetSendClockNs();
  const bool bResult = QApplication::notify(pReceiver, pEvent);
  const int64_t nBusyNs = halvowire::GetSendClockNs() - nStartNs;
  m_nTurnBusyNs += nBusyNs;
  m_mapBusyByType[nType] += nBusyNs;
  --m_nDepth;
  return bResult;
}

void CHostApplication::EndTurn() {
  if (m_nTurnBusyNs > 0) m_turnBusyTimes.Add(m_nTurnBusyNs);
  m_nTurnBusyNs = 0;
}
