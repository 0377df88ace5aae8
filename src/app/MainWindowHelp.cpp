// The main window's help menu: context help from the help file that ships
// next to the program, and the About box.
#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QUrl>

#include "app/MainWindow.h"
#include "app/MessageBoxes.h"

namespace tesmora::app {

namespace {

const QString kHelpFileName = QStringLiteral("Tesmora.chm");

QString programDirectory() {
  return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

}  // namespace

void MainWindow::createHelpActions() {
  helpAct_ = new QAction(QStringLiteral("&Вызов Справки"), this);
  helpAct_->setObjectName(QStringLiteral("help"));
  helpAct_->setShortcut(QKeySequence(Qt::Key_F1));
  connect(helpAct_, &QAction::triggered, this, &MainWindow::showHelp);
  aboutAct_ = new QAction(QStringLiteral("&О программе..."), this);
  aboutAct_->setObjectName(QStringLiteral("about"));
  connect(aboutAct_, &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::createHelpMenu() {
  helpMenu_ = menuBar()->addMenu(QStringLiteral("&Справка"));
  helpMenu_->addAction(helpAct_);
  helpMenu_->addSeparator();
  helpMenu_->addAction(aboutAct_);
}

void MainWindow::showHelp() {
  // The help file is opened by the system's viewer for its type; where
  // there is none, or the file is missing, the user is told so.
  const QString path =
      QDir(QCoreApplication::applicationDirPath()).filePath(kHelpFileName);
  QString problem;
  if (!QFileInfo::exists(path)) {
    problem = QStringLiteral("Справку нельзя показать: файла %1 нет в папке "
                             "программы %2.")
                  .arg(kHelpFileName, programDirectory());
  } else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
    problem = QStringLiteral("Справку нельзя показать: в системе нет "
                             "программы, открывающей файл %1.")
                  .arg(QDir::toNativeSeparators(path));
  }
  if (!problem.isEmpty())
    showTextBox(this, QMessageBox::Information, QStringLiteral("Tesmora"),
                problem);
}

void MainWindow::showAbout() {
  showTextBox(this, QMessageBox::Information, QStringLiteral("Версия Tesmora"),
              QStringLiteral("Tesmora\nВерсия %1")
                  .arg(QStringLiteral(TESMORA_VERSION)));
}

}  // namespace tesmora::app
