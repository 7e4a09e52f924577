// Painting a watch list of 100,000 entity records under the offscreen platform: how often a
// full repaint of the visible page asks the data descriptor for a cell, per cell painted,
// against a stock table view with its default delegate over the same records; the time of a
// full repaint; and the cells a live update of one on-screen record reads.
// Last, "Fit to Data" over 100,000 records parsed from risk messages as the receiver parses them
// (numbers kept packed), in a list of 20 columns: entity texts, amounts, whole numbers, ratios
// and two custom columns, from the command until the widths are set, against the same pass
// reading every cell.
#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench/BenchRecords.h"
#include "bench/BenchTiming.h"
#include "lists/widgets/FilterListCtrl.h"
#include "model/ColumnCatalogue.h"
#include "model/NumberFormat.h"
#include "model/RmsDetails.h"
#include "plugin/PluginContext.h"

namespace {

constexpr int kRecordCount = 100000;
constexpr int kRepaints = 40;
constexpr int kWidth = 1600;
constexpr int kHeight = 900;
constexpr int kFitRuns = 9;
// The standard columns of the fitted list: entity texts, amounts (one negated), whole numbers,
// a ratio of three decimals and a call status; and its two custom columns.
constexpr int32_t kFitColumns[] = {0, 83, 201, 7, 1, 10, 22, 69, 8, 6, 11, 4, 15, 70, 3, 96, 86, 283};
constexpr const char* kFitFormulas[][2] = {{"Net Avail", " \"1\" - \"10\""}, {"Used Lakhs", " \"10\" / 100000"}};

int g_nReads = 0;

std::string MakeSlotText(int nColumn, int nRecord, std::mt19937_64& random) {
  char szText[kFixedTextSize];
  if (nColumn == 0) {
    std::snprintf(szText, sizeof(szText), "ACC%06d", nRecord);
    return szText;
  }
  if (nColumn == 83) {
    return "CM-NSE-NRML";
  }
  const double dValue = static_cast<double>(static_cast<int64_t>(random() % 60000000) - 5000000) / 100.0;
  return std::string(szText, FormatFixed(dValue, 2, szText));
}

std::vector<CRmsDetails> MakeRecords() {
  std::vector<CRmsDetails> arrRecords(kRecordCount);
  std::mt19937_64 random(20240611);
  CSlotTextsWriter writer;
  for (int i = 0; i < kRecordCount; ++i) {
    CRmsDetails& record = arrRecords[static_cast<size_t>(i)];
    record.nLevel = 5;
    writer.Start();
    for (int nSlot = 0; nSlot < kRmsSlotCount; ++nSlot) {
      writer.Append(MakeSlotText(rmsslot::kOrder[nSlot].nColumn, i, random));
    }
    writer.CommitTo(record.GetSlotTexts());
  }
  return arrRecords;
}

int CountingCellText(const CRmsDetails* pRecord, int nColumn, std::string& strText) {
  ++g_nReads;
  return GetColumnText(pRecord, nColumn, strText);
}

// What a Qt developer would write: every role asked of the model reads the cell.
class CStockModel : public QAbstractTableModel {
 public:
  explicit CStockModel(const std::vector<CRmsDetails>& arrRecords) : m_arrRecords(arrRecords) {}
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(m_arrRecords.size());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : kCatalogueColumnCount;
  }
  QVariant data(const QModelIndex& index, int nRole) const override {
    if (nRole != Qt::DisplayRole && nRole != Qt::ForegroundRole && nRole != Qt::BackgroundRole &&
        nRole != Qt::TextAlignmentRole && nRole != Qt::FontRole && nRole != Qt::DecorationRole &&
        nRole != Qt::CheckStateRole) {
      return {};
    }
    std::string strText;
    CountingCellText(&m_arrRecords[static_cast<size_t>(index.row())], index.column(), strText);
    return nRole == Qt::DisplayRole ? QVariant(QString::fromStdString(strText)) : QVariant();
  }

 private:
  const std::vector<CRmsDetails>& m_arrRecords;
};

// Cells of a table view that reach into its viewport.
int CountVisibleCells(const QTableView& view) {
  int nColumns = 0;
  for (int nColumn = 0; nColumn < view.horizontalHeader()->count(); ++nColumn) {
    const int nLeft = view.columnViewportPosition(nColumn);
    nColumns += nLeft < view.viewport()->width() && nLeft + view.columnWidth(nColumn) > 0 ? 1 : 0;
  }
  const int nFirst = view.rowAt(0);
  int nLast = view.rowAt(view.viewport()->height() - 1);
  if (nLast < 0) {
    nLast = view.model()->rowCount() - 1;
  }
  return nColumns * (nLast - nFirst + 1);
}

// The median thread CPU time of a full repaint; the offscreen platform paints on this thread.
double MeasureRepaintMs(QTableView& view) {
  std::vector<double> arrSamples;
  for (int i = 0; i < kRepaints; ++i) {
    arrSamples.push_back(1e3 * benchtiming::TimeWork([&] { view.viewport()->repaint(); }));
  }
  return benchtiming::GetMedian(arrSamples);
}

// The median thread CPU times of "Fit to Data" over every row, from the command to the widths
// set (the slices after the first run at the next turns of the event loop): as the watch list
// runs it, telling numbers by their stored bytes, and reading every cell instead.
struct sFitTimes {
  double dShapesMs = 0;
  double dEveryCellMs = 0;
};

sFitTimes MeasureFitToData() {
  const std::vector<CRmsDetails> arrRecords = benchrecords::MakeParsedRecords(kRecordCount, 20240612);
  CFilterListCtrl list;
  list.SetProfileName("Orvane_watch2");
  list.GetLayout().LoadColumnTable("Orvane_watch2", GetCatalogueColumns());
  list.LoadProfile();
  std::vector<int32_t> arrPositions(GetCatalogueColumns().size(), -1);
  for (size_t i = 0; i < std::size(kFitColumns); ++i) arrPositions[kFitColumns[i]] = static_cast<int32_t>(i);
  list.GetLayout().SetPositions(arrPositions);
  for (const auto& formula : kFitFormulas) {
    sHalvoColInfo column;
    SetColumnName(column, formula[0]);
    column.nFormat = kAlignRight;
    column.nDataType = kSortDecimal;
    column.nKind = kColumnCustom;
    column.strFormula = formula[1];
    list.GetLayout().AppendShownColumn(column);
  }
  list.BuildHeader();
  list.SetCellTextFn(MakeCellTextFn(&GetColumnText));
  list.SetCellPrefetchFn(MakeCellPrefetchFn(&CRmsDetails::PrefetchCell));
  list.SetDataMode(true);
  for (const CRmsDetails& record : arrRecords) list.InsertRow(0, &record);
  const auto TimeFits = [&list] {
    std::vector<double> arrSamples;
    for (int i = 0; i < kFitRuns; ++i) {
      arrSamples.push_back(1e3 * benchtiming::TimeWork([&list] {
        list.OnCommand(kCmdFitToData);
        while (list.IsFittingToData()) QApplication::processEvents();
      }));
    }
    return benchtiming::GetMedian(arrSamples);
  };
  sFitTimes times;
  times.dEveryCellMs = TimeFits();
  list.SetCellShapesFn(&CRmsDetails::GetCellShapes);
  times.dShapesMs = TimeFits();
  std::printf("fit to data: %d rows x %d columns, goal 50 ms; reading every cell %.2f ms\n", list.GetItemCount(),
              list.GetLayout().GetHeaderCount(), times.dEveryCellMs);
  return times;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  const std::filesystem::path dirSettings =
      std::filesystem::temp_directory_path() / ("orvane-bench-list-paint-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dirSettings);
  g_pluginContext.settingsDir = dirSettings.string();

  const std::vector<CRmsDetails> arrRecords = MakeRecords();
  double dOursMs = 0;
  double dStockMs = 0;
  double dReadsPerCell = 0;
  double dStockReadsPerCell = 0;
  int nUpdateReads = 0;
  int nVisibleColumns = 0;
  {
    CFilterListCtrl list;
    list.GetLayout().LoadColumnTable("Orvane_watch1", GetCatalogueColumns());
    list.LoadProfile();
    list.SetCellTextFn(MakeCellTextFn(&CountingCellText));
    list.SetCellPrefetchFn(MakeCellPrefetchFn(&CRmsDetails::PrefetchCell));
    list.SetDataMode(true);
    for (const CRmsDetails& record : arrRecords) {
      list.InsertRow(0, &record);
    }
    list.resize(kWidth, kHeight);
    list.show();
    list.selectRow(3);
    QApplication::processEvents();

    const int nCells = CountVisibleCells(list);
    g_nReads = 0;
    list.viewport()->repaint();
    dReadsPerCell = static_cast<double>(g_nReads) / nCells;
    g_nReads = 0;
    list.grab();
    std::printf("grab of the whole list: %d reads for %d visible cells\n", g_nReads, nCells);
    dOursMs = MeasureRepaintMs(list);

    // A live update of one record on screen, painted at the next turn of the event loop.
    g_nReads = 0;
    list.RefreshRecord(&arrRecords[5]);
    QApplication::processEvents();
    nUpdateReads = g_nReads;
    nVisibleColumns = nCells / (list.rowAt(list.viewport()->height() - 1) - list.rowAt(0) + 1);
  }
  {
    CStockModel model(arrRecords);
    QTableView view;
    view.setModel(&model);
    view.verticalHeader()->hide();
    view.verticalHeader()->setDefaultSectionSize(15);
    view.horizontalHeader()->setDefaultSectionSize(80);
    view.resize(kWidth, kHeight);
    view.show();
    QApplication::processEvents();
    const int nCells = CountVisibleCells(view);
    g_nReads = 0;
    view.viewport()->repaint();
    dStockReadsPerCell = static_cast<double>(g_nReads) / nCells;
    dStockMs = MeasureRepaintMs(view);
  }
  const sFitTimes fitTimes = MeasureFitToData();
  std::filesystem::remove_all(dirSettings);

  std::printf("records %d, window %dx%d, %d visible columns\n", kRecordCount, kWidth, kHeight,
              nVisibleColumns);
  std::printf("stock view with default delegate: %.2f reads per cell, %.2f ms per repaint\n",
              dStockReadsPerCell, dStockMs);
  std::printf("figure: cell_reads_per_painted_cell = %.2f reads\n", dReadsPerCell);
  std::printf("figure: full_page_repaint_time = %.2f ms\n", dOursMs);
  std::printf("figure: repaint_vs_stock_view_time_ratio = %.2f x\n", dOursMs / dStockMs);
  std::printf("figure: one_record_update_reads = %d reads\n", nUpdateReads);
  std::printf("figure: fit_to_data_100k_ms = %.2f ms\n", fitTimes.dShapesMs);
  std::printf("figure: fit_to_data_vs_every_cell_ratio = %.2f x\n", fitTimes.dShapesMs / fitTimes.dEveryCellMs);
  return 0;
}
