// The main window's document commands: New, Open, Save, Save As, the
// recent files, the save-changes question and the save rule of the Run
// command.
#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>

#include "app/Editor.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"

namespace tesmora::app {

namespace {

const QString kFileFilter = QStringLiteral("Tesmora Files (*.tsm)");
const QString kDefaultSuffix = QStringLiteral("tsm");
const char kRecentFilesKey[] = "recentFileList";

QStringList recentFiles() {
  return QSettings().value(kRecentFilesKey).toStringList();
}

}  // namespace

void MainWindow::newFile() {
  if (!maybeSave()) return;
  editor_->clear();
  document_.startNew();
  editor_->document()->setModified(false);
  updateTitle();
}

void MainWindow::open() {
  if (!maybeSave()) return;
  const QString path = QFileDialog::getOpenFileName(
      this, QStringLiteral("Открыть"), QString(), kFileFilter);
  if (!path.isEmpty()) loadFile(path);
}

bool MainWindow::save() {
  return document_.isUntitled() ? saveAs() : saveFile(document_.path());
}

bool MainWindow::saveAs() {
  const QString suggested = document_.isUntitled()
                                ? document_.displayName() + QStringLiteral(".tsm")
                                : document_.path();
  QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("Сохранить как"), suggested, kFileFilter);
  if (path.isEmpty()) return false;
  if (QFileInfo(path).suffix().isEmpty())
    path += QLatin1Char('.') + kDefaultSuffix;
  return saveFile(path);
}

bool MainWindow::loadFile(const QString& path) {
  QString text;
  QString error;
  if (!document_.load(path, text, error)) {
    showTextBox(this, QMessageBox::Warning, QStringLiteral("Tesmora"), error);
    return false;
  }
  editor_->setPlainText(text);
  editor_->document()->setModified(false);
  rememberRecentFile(document_.path());
  updateTitle();
  return true;
}

bool MainWindow::saveFile(const QString& path) {
  QString error;
  if (!document_.save(path, editor_->text(), error)) {
    showTextBox(this, QMessageBox::Warning, QStringLiteral("Tesmora"), error);
    return false;
  }
  editor_->document()->setModified(false);
  rememberRecentFile(document_.path());
  updateTitle();
  return true;
}

bool MainWindow::maybeSave() {
  if (!document_.modified || document_.example) return true;
  const QString question =
      document_.isUntitled()
          ? QStringLiteral("Сохранить изменения в новом документе?")
          : QStringLiteral("Сохранить изменения в %1?")
                .arg(document_.displayName());
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Tesmora"), question,
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                  this);
  box.setTextFormat(Qt::PlainText);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
  box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
  box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
  switch (box.exec()) {
    case QMessageBox::Yes:
      return save();
    case QMessageBox::No:
      return true;
    default:
      return false;
  }
}

bool MainWindow::saveBeforeRun() {
  if (!document_.modified) return true;
  if (!document_.isUntitled()) {
    // A failed save has been reported; the program still runs, from the
    // editor's text.
    saveFile(document_.path());
    return true;
  }
  const qint64 age =
      document_.created.secsTo(QDateTime::currentDateTime());
  return age <= kUntitledGraceSeconds || saveAs();
}

void MainWindow::openRecentFile() {
  const auto* act = qobject_cast<const QAction*>(sender());
  if (act == nullptr || !maybeSave()) return;
  loadFile(act->data().toString());
}

void MainWindow::rememberRecentFile(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  QStringList files = recentFiles();
  files.removeAll(absolute);
  files.prepend(absolute);
  while (files.size() > kRecentFiles) files.removeLast();
  QSettings().setValue(kRecentFilesKey, files);
  updateRecentFileActions();
}

void MainWindow::updateRecentFileActions() {
  const QStringList files = recentFiles();
  for (int i = 0; i < recentFileActs_.size(); ++i) {
    QAction* act = recentFileActs_[i];
    const bool used = i < files.size();
    act->setVisible(used);
    if (!used) continue;
    act->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(
        QDir::toNativeSeparators(files[i])));
    act->setData(files[i]);
  }
  recentSeparator_->setVisible(!files.isEmpty());
}

}  // namespace tesmora::app
