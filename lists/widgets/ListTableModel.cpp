#include "lists/widgets/ListTableModel.h"

#include "controls/ColorHeaderCtrl.h"
#include "lists/widgets/ListTableSource.h"

namespace {

Qt::Alignment GetColumnAlignment(int32_t nFormat) {
  switch (nFormat) {
    case kAlignLeft:
      return Qt::AlignLeft | Qt::AlignVCenter;
    case kAlignRight:
      return Qt::AlignRight | Qt::AlignVCenter;
    default:
      return Qt::AlignHCenter | Qt::AlignVCenter;
  }
}

}  // namespace

int CListTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_nRowCount; }

int CListTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_nColumnCount;
}

QVariant CListTableModel::data(const QModelIndex& index, int nRole) const {
  if (!index.isValid() || index.row() >= m_nRowCount || index.column() >= m_nColumnCount) {
    return {};
  }
  if (nRole == Qt::DisplayRole) {
    return QString::fromStdString(m_source.GetCellText(index.row(), index.column()));
  }
  if (nRole == Qt::TextAlignmentRole) {
    const sHalvoColInfo* pColumn = m_source.GetColumnAtPosition(index.column());
    return pColumn != nullptr ? QVariant(GetColumnAlignment(pColumn->nFormat)) : QVariant();
  }
  return {};
}

QVariant CListTableModel::headerData(int nSection, Qt::Orientation nOrientation, int nRole) const {
  if (nOrientation != Qt::Horizontal || nSection < 0 || nSection >= m_nColumnCount) {
    return {};
  }
  const sHalvoColInfo* pColumn = m_source.GetColumnAtPosition(nSection);
  switch (nRole) {
    case Qt::DisplayRole:
      return pColumn != nullptr ? QString::fromUtf8(pColumn->szName) : QString();
    case Qt::TextAlignmentRole:
      return pColumn != nullptr ? QVariant(GetColumnAlignment(pColumn->nFormat)) : QVariant();
    case Qt::ToolTipRole: {
      const QString strTip = m_source.GetHeaderTip(nSection);
      return strTip.isEmpty() ? QVariant() : QVariant(strTip);
    }
    case kSortImageRole:
      return m_source.GetSortImage(nSection);
    default:
      return {};
  }
}

Qt::ItemFlags CListTableModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void CListTableModel::InsertRows(int nRow, int nCount) {
  if (nCount <= 0 || nRow < 0 || nRow > m_nRowCount) {
    return;
  }
  beginInsertRows(QModelIndex(), nRow, nRow + nCount - 1);
  m_nRowCount += nCount;
  endInsertRows();
}

void CListTableModel::RemoveRows(int nRow, int nCount) {
  if (nCount <= 0 || nRow < 0 || nRow + nCount > m_nRowCount) {
    return;
  }
  beginRemoveRows(QModelIndex(), nRow, nRow + nCount - 1);
  m_nRowCount -= nCount;
  endRemoveRows();
}

void CListTableModel::SetRowCount(int nCount) {
  if (nCount > m_nRowCount) {
    InsertRows(m_nRowCount, nCount - m_nRowCount);
  } else if (nCount < m_nRowCount) {
    RemoveRows(nCount, m_nRowCount - nCount);
  }
}

void CListTableModel::ResetColumns() {
  beginResetModel();
  m_nColumnCount = m_source.GetHeaderCount();
  m_nRowCount = m_source.GetItemCount();
  endResetModel();
}

void CListTableModel::NotifyHeaderChanged() {
  if (m_nColumnCount > 0) {
    emit headerDataChanged(Qt::Horizontal, 0, m_nColumnCount - 1);
  }
}
