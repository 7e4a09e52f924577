#include "lists/widgets/CellTextCache.h"

#include <QFontMetrics>

namespace {

void Prepare(QStaticText& text, const QString& strShown, const QFont& font) {
  text.setTextFormat(Qt::PlainText);
  text.setText(strShown);
  text.prepare(QTransform(), font);
}

}  // namespace

const CCellTextCache::sLayout& CCellTextCache::Get(const std::string& strText, const QFont& font,
                                                   const QFontMetrics& metrics) {
  return Find(strText, font, metrics);
}

const CCellTextCache::sLayout& CCellTextCache::GetCut(const std::string& strText, const QFont& font,
                                                      const QFontMetrics& metrics, int nRoom, bool bToHash,
                                                      const char* szHash) {
  sLayout& layout = Find(strText, font, metrics);
  if (layout.nCutRoom == nRoom && layout.bCutToHash == bToHash) return layout;
  QString strShown;
  if (bToHash) {
    strShown = QString::fromLatin1(szHash);
    while (!strShown.isEmpty() && metrics.horizontalAdvance(strShown) > nRoom) strShown.chop(1);
  } else {
    strShown = metrics.elidedText(QString::fromStdString(strText), Qt::ElideRight, nRoom);
  }
  Prepare(layout.cut, strShown, font);
  layout.nCutWidth = metrics.horizontalAdvance(strShown);
  layout.nCutRoom = nRoom;
  layout.bCutToHash = bToHash;
  return layout;
}

CCellTextCache::sLayout& CCellTextCache::Find(const std::string& strText, const QFont& font,
                                              const QFontMetrics& metrics) {
  if (!(font == m_font) || m_mapLayouts.size() >= kMaxEntries) {
    m_mapLayouts.clear();
    m_font = font;
  }
  const auto [it, bNew] = m_mapLayouts.try_emplace(strText);
  if (bNew) {
    const QString strShown = QString::fromStdString(strText);
    sLayout& layout = it->second;
    Prepare(layout.text, strShown, font);
    layout.nWidth = metrics.horizontalAdvance(strShown);
  }
  return it->second;
}
