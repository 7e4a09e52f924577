#include "model/AuxiliaryLists.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr sColumnDef kAlertColumns[] = {
    {"Column Name", kAlignRight, kSortText}, {"List Name", kAlignRight, kSortText},
    {"Value", kAlignRight, kSortText},       {"Client ID", kAlignRight, kSortText},
    {"Time Stamp", kAlignRight, kSortText},  {"Level", kAlignRight, kSortText},
};

constexpr sColumnDef kMessageAlertColumns[] = {
    {"User Id", kAlignRight, kSortText}, {"Client Id", kAlignRight, kSortText},
    {"Segment", kAlignRight, kSortText}, {"Product", kAlignRight, kSortText},
    {"Value", kAlignRight, kSortText},   {"Time Stamp", kAlignRight, kSortText},
    {"Type", kAlignRight, kSortText},
};

constexpr sColumnDef kCallStatusColumns[] = {
    {"Entity", kAlignRight, kSortText},     {"Exchange", kAlignRight, kSortText},
    {"Segment", kAlignRight, kSortText},    {"Product", kAlignRight, kSortText},
    {"Level", kAlignRight, kSortText},      {"Call Type", kAlignRight, kSortText},
    {"Status", kAlignRight, kSortText},     {"Time Stamp", kAlignRight, kSortText},
    {"Modified By", kAlignRight, kSortText},
};

// The entry text each column shows.
constexpr std::string RaisedAlert::*kAlertCells[] = {
    &RaisedAlert::strColumnName, &RaisedAlert::strListName,  &RaisedAlert::strValue,
    &RaisedAlert::strClientId,   &RaisedAlert::strTimeStamp, &RaisedAlert::strLevel,
};

constexpr std::string sMessageAlert::*kMessageAlertCells[] = {
    &sMessageAlert::strUserId,  &sMessageAlert::strClientId,  &sMessageAlert::strSegment,
    &sMessageAlert::strProduct, &sMessageAlert::strValue,     &sMessageAlert::strTimeStamp,
    &sMessageAlert::strType,
};

constexpr std::string sCallStatusEntry::*kCallStatusCells[] = {
    &sCallStatusEntry::strEntity,    &sCallStatusEntry::strExchange,
    &sCallStatusEntry::strSegment,   &sCallStatusEntry::strProduct,
    &sCallStatusEntry::strLevel,     &sCallStatusEntry::strCallType,
    &sCallStatusEntry::strStatus,    &sCallStatusEntry::strTimeStamp,
    &sCallStatusEntry::strModifiedBy,
};

static_assert(std::size(kAlertCells) == std::size(kAlertColumns));
static_assert(std::size(kMessageAlertCells) == std::size(kMessageAlertColumns));
static_assert(std::size(kCallStatusCells) == std::size(kCallStatusColumns));

template <typename Entry, size_t nColumns>
int GetEntryCellText(const Entry* pEntry, std::string Entry::*const (&arrCells)[nColumns],
                     int nColumn, std::string& strText) {
  strText.clear();
  if (pEntry != nullptr && nColumn >= 0 && static_cast<size_t>(nColumn) < nColumns) {
    const std::string& strCell = pEntry->*arrCells[nColumn];
    strText.assign(strCell, 0, std::min(strCell.size(), kAuxCellTextLimit));
  }
  return 1;
}

}  // namespace

std::span<const sColumnDef> GetAlertListColumns() {
  return kAlertColumns;
}

std::span<const sColumnDef> GetMessageAlertColumns() {
  return kMessageAlertColumns;
}

std::span<const sColumnDef> GetCallStatusColumns() {
  return kCallStatusColumns;
}

int GetRaisedAlertCellText(const RaisedAlert* pAlert, int nColumn, std::string& strText) {
  return GetEntryCellText(pAlert, kAlertCells, nColumn, strText);
}

int GetMessageAlertCellText(const sMessageAlert* pAlert, int nColumn, std::string& strText) {
  return GetEntryCellText(pAlert, kMessageAlertCells, nColumn, strText);
}

int GetCallStatusCellText(const sCallStatusEntry* pEntry, int nColumn, std::string& strText) {
  return GetEntryCellText(pEntry, kCallStatusCells, nColumn, strText);
}
