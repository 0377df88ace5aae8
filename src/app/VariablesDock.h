// The variables view: a dock listing the user's variables after every run
// (name, kind and size, a short value). Double-clicking a variable opens
// its full display text, or a table of its cells for a matrix or a
// super-matrix.
#pragma once

#include <QDockWidget>

#include <vector>

#include "interp/VariablesSnapshot.h"

class QDialog;
class QTreeWidget;

namespace tesmora::app {

class VariablesDock : public QDockWidget {
  Q_OBJECT

 public:
  explicit VariablesDock(QWidget* parent = nullptr);

  // Shows a new snapshot, keeping the selected name selected.
  void setVariables(std::vector<VariableView> variables);

  QTreeWidget* list() const { return list_; }
  const std::vector<VariableView>& variables() const { return variables_; }
  // Opens the detail window of the variable in `row` (non-modal; it closes
  // with the dock's next snapshot or by the user). Returns it.
  QDialog* openDetails(int row);

 private:
  QTreeWidget* list_;
  std::vector<VariableView> variables_;
};

}  // namespace tesmora::app
