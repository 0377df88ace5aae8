// The clipboard around the editor: pasting from a clipboard that holds
// nothing (Qt 6.4's text widgets crash on a mime object without formats,
// which X11 reports when no program owns the clipboard), and copying the
// result box's text with Ctrl+C to paste it into the program.
#include <QtTest>

#include <QClipboard>
#include <QMimeData>

#include "ModalAnswerer.h"
#include "app/Editor.h"
#include "app/MainWindow.h"

using namespace tesmora::app;
using namespace tesmora::app::test;

class TestClipboard : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanupTestCase();
  void pasteOfAnEmptyClipboardKeepsTheText_data();
  void pasteOfAnEmptyClipboardKeepsTheText();
  void resultBoxTextIsCopiedAndPasted();

 private:
  MainWindow* window_ = nullptr;
};

void TestClipboard::initTestCase() {
  QCoreApplication::setOrganizationName(QStringLiteral("KestrelTests"));
  QCoreApplication::setApplicationName(QStringLiteral("TesmoraClipboard"));
  window_ = new MainWindow;
  window_->show();
  window_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window_));
}

void TestClipboard::cleanupTestCase() {
  window_->editor()->document()->setModified(false);
  delete window_;
}

void TestClipboard::pasteOfAnEmptyClipboardKeepsTheText_data() {
  QTest::addColumn<QString>("format");  // empty: no format at all
  QTest::newRow("no format") << QString();
  QTest::newRow("an image only") << "image/png";
}

void TestClipboard::pasteOfAnEmptyClipboardKeepsTheText() {
  QFETCH(QString, format);
  Editor* editor = window_->editor();
  editor->setPlainText(QStringLiteral("x = 1;"));
  editor->placeCaret(6);
  auto* data = new QMimeData;
  if (!format.isEmpty()) data->setData(format, QByteArray("\x89PNG"));
  QGuiApplication::clipboard()->setMimeData(data);

  QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(editor->text(), QStringLiteral("x = 1;"));
  editor->paste();
  QCOMPARE(editor->text(), QStringLiteral("x = 1;"));
}

void TestClipboard::resultBoxTextIsCopiedAndPasted() {
  QVERIFY(window_->loadFile(TESMORA_EXAMPLES_DIR "/linear_system.tsm"));
  QGuiApplication::clipboard()->clear();
  QString shown;
  {
    ModalAnswerer answerer([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      QVERIFY(box);
      shown = box->text();
      QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
      box->button(QMessageBox::Ok)->click();
    });
    QTest::keyClick(window_->editor(), Qt::Key_F12);
  }
  QVERIFY(shown.contains(QStringLiteral("2")));
  QCOMPARE(QGuiApplication::clipboard()->text(), shown);

  Editor* editor = window_->editor();
  editor->moveCursor(QTextCursor::End);
  QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
  QVERIFY(editor->text().endsWith(shown));
}

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
