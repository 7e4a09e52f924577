#include "platform/qt/RegisteredMessage.h"

#include <QByteArray>
#include <QHash>

uint32_t RegisterWindowMessage(std::string_view strName) {
  if (strName.empty()) return 0;
  // Registered on the user-interface thread only, like every window message.
  static QHash<QByteArray, uint32_t> s_mapNumbers;
  const QByteArray strKey = QByteArray(strName.data(), static_cast<qsizetype>(strName.size())).toLower();
  const auto it = s_mapNumbers.constFind(strKey);
  if (it != s_mapNumbers.constEnd()) return it.value();
  const auto nNumber = kFirstRegisteredMessage + static_cast<uint32_t>(s_mapNumbers.size());
  if (nNumber > kLastRegisteredMessage) return 0;
  s_mapNumbers.insert(strKey, nNumber);
  return nNumber;
}
