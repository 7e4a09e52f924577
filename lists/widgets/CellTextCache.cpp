#include "lists/widgets/CellTextCache.h"

#include <QFontMetrics>

const CCellTextCache::sLayout& CCellTextCache::Get(const std::string& strText, const QFont& font,
                                                   const QFontMetrics& metrics) {
  if (!(font == m_font) || m_mapLayouts.size() >= kMaxEntries) {
    m_mapLayouts.clear();
    m_font = font;
  }
  const auto [it, bNew] = m_mapLayouts.try_emplace(strText);
  if (bNew) {
    const QString strShown = QString::fromStdString(strText);
    sLayout& layout = it->second;
    layout.text.setTextFormat(Qt::PlainText);
    layout.text.setText(strShown);
    layout.text.prepare(QTransform(), font);
    layout.nWidth = metrics.horizontalAdvance(strShown);
  }
  return it->second;
}
