// The terminal's application object. On demand it measures how long the user-interface
// thread is busy in each turn of its event loop: the time spent handling events (posted
// events, message delivery, timers, painting, input) between two points where the event
// dispatcher wakes up or is about to wait. A long turn is a terminal that does not answer.
#pragma once

#include <QApplication>
#include <cstdint>
#include <map>

#include "host/transport/DurationSamples.h"

class CHostApplication : public QApplication {
  Q_OBJECT

 public:
  CHostApplication(int& argc, char** argv);

  // Turns ended from Start to Stop; Start forgets earlier ones.
  void StartTurnMeasuring();
  void StopTurnMeasuring();
  const CDurationSamples& GetTurnBusyTimes() const { return m_turnBusyTimes; }
  // The busy time of those turns by the type of the event handled: where the time went
  // (message delivery runs in queued calls, painting in update requests).
  const std::map<int, int64_t>& GetBusyByEventType() const { return m_mapBusyByType; }
  // The class name of the event dispatcher the turns are measured on.
  const char* GetDispatcherName() const;

  bool notify(QObject* pReceiver, QEvent* pEvent) override;

 private:
  void EndTurn();

  bool m_bMeasuring = false;
  int m_nDepth = 0;           // notify calls under way; only the outermost is timed
  int64_t m_nTurnBusyNs = 0;  // of the turn under way
  CDurationSamples m_turnBusyTimes;
  std::map<int, int64_t> m_mapBusyByType;
};
