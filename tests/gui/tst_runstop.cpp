// Stopping a run: the Stop command (toolbar, menu, Esc) ends an endless
// loop within a second and keeps the variables; it still works after the
// long-run question was answered "Нет" or switched off by timer(0); closing
// the window during a run asks whether to stop it.
#include <QtTest>

#include <QElapsedTimer>
#include <QTreeWidget>

#include "ModalAnswerer.h"
#include "app/Editor.h"
#include "app/MainWindow.h"
#include "app/RunController.h"
#include "app/VariablesDock.h"

using namespace tesmora::app;
using namespace tesmora::app::test;

namespace {

const QString kStopped = QStringLiteral("Выполнение прекращено пользователем");
const QString kLongRun =
    QStringLiteral("Программа работает слишком долго. Прервать вычисления?");

QStringList variableNames(MainWindow& window) {
  QStringList names;
  QTreeWidget* list = window.variablesDock()->list();
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    names << list->topLevelItem(i)->text(0);
  return names;
}

}  // namespace

class TestRunStop : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanupTestCase();
  void stopEndsAnEndlessLoopWithinASecond_data();
  void stopEndsAnEndlessLoopWithinASecond();
  void closingDuringARunAsks_data();
  void closingDuringARunAsks();

 private:
  MainWindow* window_ = nullptr;
};

void TestRunStop::initTestCase() {
  QCoreApplication::setOrganizationName(QStringLiteral("KestrelTests"));
  QCoreApplication::setApplicationName(QStringLiteral("TesmoraStop"));
  window_ = new MainWindow;
  window_->show();
  window_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window_));
}

void TestRunStop::init() {
  window_->editor()->document()->setModified(false);
  window_->newFile();
}

void TestRunStop::cleanupTestCase() {
  window_->editor()->document()->setModified(false);
  delete window_;
}

void TestRunStop::stopEndsAnEndlessLoopWithinASecond_data() {
  QTest::addColumn<QString>("program");
  QTest::addColumn<QString>("how");
  QTest::addColumn<bool>("askedFirst");  // the long-run question came, "Нет"
  QTest::newRow("stop command") << "a = 5; b = \"т\";\nwhile(1) 1;" << "action"
                                << false;
  QTest::newRow("Esc") << "a = 5; b = \"т\";\nwhile(1) 1;" << "Esc" << false;
  QTest::newRow("after Нет to the question")
      << "a = 5; b = \"т\"; timer(0.2);\nwhile(1) 1;" << "action" << true;
  QTest::newRow("after timer(0)")
      << "a = 5; b = \"т\"; timer(0);\nwhile(1) { a = a; }" << "action" << false;
}

void TestRunStop::stopEndsAnEndlessLoopWithinASecond() {
  QFETCH(QString, program);
  QFETCH(QString, how);
  QFETCH(bool, askedFirst);
  window_->editor()->setPlainText(program);
  window_->document().created = QDateTime::currentDateTime();

  QElapsedTimer sinceStop;
  QList<SeenBox> boxes;
  int questions = 0;
  ModalAnswerer answerer([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box && box->text() == kLongRun) {
      ++questions;
      QVERIFY(clickButtonLabelled(box, QStringLiteral("Нет")));
      return;
    }
    recordAndClose(modal, boxes);
  });
  const auto stop = [&] {
    QVERIFY(window_->runController()->isRunning());
    sinceStop.start();
    QAction* stopAct = window_->findChild<QAction*>(QStringLiteral("stop"));
    QVERIFY(stopAct->isEnabled());
    if (how == QLatin1String("Esc")) QTest::keyClick(window_->editor(), Qt::Key_Escape);
    else stopAct->trigger();
  };
  window_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window_));
  QTimer::singleShot(askedFirst ? 800 : 300, window_, stop);
  // A stop that did not work fails the test instead of hanging it.
  QTimer::singleShot(5000, window_, [this] { window_->runController()->stop(); });
  window_->runProgram();
  const qint64 elapsed = sinceStop.elapsed();

  QVERIFY2(sinceStop.isValid() && elapsed < 1000, qPrintable(QString::number(elapsed)));
  QCOMPARE(questions, askedFirst ? 1 : 0);
  QCOMPARE(boxes.size(), 1);
  QCOMPARE(boxes[0].text, kStopped);
  QCOMPARE(window_->runStatusText(), QStringLiteral("Выполнено с ошибкой"));
  QVERIFY(!window_->findChild<QAction*>(QStringLiteral("stop"))->isEnabled());
  const QStringList names = variableNames(*window_);
  QVERIFY2(names.contains(QStringLiteral("a")) && names.contains(QStringLiteral("b")),
           qPrintable(names.join(QLatin1Char(','))));
}

void TestRunStop::closingDuringARunAsks_data() {
  QTest::addColumn<QString>("answer");
  QTest::newRow("Да stops the run and closes") << "Да";
  QTest::newRow("Нет lets it run") << "Нет";
}

void TestRunStop::closingDuringARunAsks() {
  QFETCH(QString, answer);
  MainWindow window;
  window.show();
  window.editor()->setPlainText(QStringLiteral("while(1) 1;"));
  QStringList questions;
  QList<SeenBox> boxes;
  ModalAnswerer answerer([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box && box->text().startsWith(QStringLiteral("Программа ещё выполняется"))) {
      questions << box->text();
      QVERIFY(clickButtonLabelled(box, answer));
      return;
    }
    recordAndClose(modal, boxes);
  });
  QTimer::singleShot(200, &window, [&] { window.close(); });
  // With "Нет" the run goes on until it is stopped.
  QTimer::singleShot(1200, &window, [&] { window.runController()->stop(); });
  window.runProgram();
  QCOMPARE(questions.size(), 1);
  if (answer == QStringLiteral("Да")) {
    QVERIFY(boxes.isEmpty());  // the stopped run shows nothing
    QTRY_VERIFY(!window.isVisible());
  } else {
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes[0].text, kStopped);
    QVERIFY(window.isVisible());
  }
}

QTEST_MAIN(TestRunStop)
#include "tst_runstop.moc"
