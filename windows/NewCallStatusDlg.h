// The call status dialog: the user picks the status of a margin or obligation call, which the
// watch window then publishes for its selected entities. One dialog serves every window.
#pragma once

#include <QDialog>
#include <string>

class QComboBox;

class CNewCallStatus : public QDialog {
 public:
  explicit CNewCallStatus(QWidget* pParent);

  // Set before the dialog runs: the call kind (1 obligation, 2 margin) and the window it
  // centres on.
  void SetCallKind(int32_t nKind) { m_nCallKind = nKind; }
  void SetOwner(QWidget* pOwner) { m_pOwner = pOwner; }

  // Runs the dialog modally; true only when it closed through "Set Status".
  bool RunModal();
  // The status picked from the list when "Set Status" was pressed; empty otherwise.
  const std::string& GetChosenStatus() const { return m_strChosenStatus; }

  QComboBox* GetStatusBox() const { return m_pStatusBox; }
  // "Set Status": the picked entry, if any, becomes the chosen status.
  void SetStatus();

 private:
  void Prepare();

  QComboBox* m_pStatusBox;
  int32_t m_nCallKind = 0;
  QWidget* m_pOwner = nullptr;
  std::string m_strChosenStatus;
};
