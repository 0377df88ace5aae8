#include "app/VariablesDock.h"

#include <QDialog>
#include <QFontDatabase>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/TextBridge.h"

namespace tesmora::app {

namespace {

QWidget* tableOf(const VariableView& view) {
  auto* table = new QTableWidget(view.rows, view.cols);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  for (int i = 0; i < int(view.cells.size()); ++i) {
    auto* item = new QTableWidgetItem(fromCp1251(view.cells[i]));
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table->setItem(i / view.cols, i % view.cols, item);
  }
  table->resizeColumnsToContents();
  return table;
}

QWidget* textOf(const VariableView& view) {
  auto* text = new QPlainTextEdit(fromCp1251(view.fullText));
  text->setReadOnly(true);
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  return text;
}

}  // namespace

VariablesDock::VariablesDock(QWidget* parent)
    : QDockWidget(QStringLiteral("Переменные"), parent), list_(new QTreeWidget) {
  setObjectName(QStringLiteral("variablesDock"));
  list_->setColumnCount(3);
  list_->setHeaderLabels({QStringLiteral("Имя"), QStringLiteral("Тип"),
                          QStringLiteral("Значение")});
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAlternatingRowColors(true);
  list_->header()->setStretchLastSection(true);
  list_->setToolTip(QStringLiteral(
      "Переменные после последнего выполнения; двойной щелчок показывает "
      "значение целиком"));
  connect(list_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) {
            openDetails(list_->indexOfTopLevelItem(item));
          });
  setWidget(list_);
}

void VariablesDock::setVariables(std::vector<VariableView> variables) {
  const QTreeWidgetItem* current = list_->currentItem();
  const QString selected = current ? current->text(0) : QString();
  variables_ = std::move(variables);
  list_->clear();
  for (const VariableView& view : variables_) {
    auto* item = new QTreeWidgetItem(
        {fromCp1251(view.name), QString::fromUtf8(view.caption),
         fromCp1251(view.shortValue)});
    item->setToolTip(2, fromCp1251(view.shortValue));
    list_->addTopLevelItem(item);
    if (item->text(0) == selected) list_->setCurrentItem(item);
  }
  // Names and kinds are short; the value takes the rest.
  list_->resizeColumnToContents(0);
  list_->resizeColumnToContents(1);
  list_->setColumnWidth(1, list_->columnWidth(1) + 8);
}

QDialog* VariablesDock::openDetails(int row) {
  if (row < 0 || row >= int(variables_.size())) return nullptr;
  const VariableView& view = variables_[row];
  auto* dialog = new QDialog(this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setObjectName(QStringLiteral("variableDetails"));
  dialog->setWindowTitle(QStringLiteral("%1 — %2").arg(
      fromCp1251(view.name), QString::fromUtf8(view.caption)));
  auto* layout = new QVBoxLayout(dialog);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view.cols > 0 && !view.cells.empty() ? tableOf(view)
                                                         : textOf(view));
  dialog->resize(520, 360);
  dialog->show();
  return dialog;
}

}  // namespace tesmora::app
