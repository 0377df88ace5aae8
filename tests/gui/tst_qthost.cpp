// The desktop host as the interpreter uses it: from a worker thread, each
// call shows its dialog on the GUI thread and returns the user's answer.
#include <QtTest>

#include <QClipboard>
#include <QLineEdit>

#include <atomic>
#include <thread>

#include "ModalAnswerer.h"
#include "app/GetStrDialog.h"
#include "app/MessageBoxes.h"
#include "app/QtHost.h"
#include "text/Cp1251.h"

using tesmora::BoxRequest;
using tesmora::cp;
using tesmora::PictureMode;
using tesmora::PictureRequest;
using namespace tesmora::app;
using namespace tesmora::app::test;

Q_DECLARE_METATYPE(tesmora::PictureMode)

namespace {

// Runs `call` on a worker thread, as the interpreter does, and keeps the
// GUI thread's events flowing until it returns.
template <typename Call>
auto onWorker(Call call) -> decltype(call()) {
  decltype(call()) result{};
  std::atomic<bool> done = false;
  std::thread worker([&] {
    result = call();
    done = true;
  });
  if (!QTest::qWaitFor([&] { return done.load(); }, 20000))
    qFatal("the host call on the worker thread did not return");
  worker.join();
  return result;
}

}  // namespace

class TestQtHost : public QObject {
  Q_OBJECT

 private slots:
  void messageBoxReturnsPressedButton_data();
  void messageBoxReturnsPressedButton();
  void boxShowsIconCaptionAndPlainText_data();
  void boxShowsIconCaptionAndPlainText();
  void getStringReturnsTypedTextAsCp1251();
  void getStringClosedWithoutOkIsEmpty();
  void getStringDialogRefusesCharacterOutsideCp1251();
  void statusAndClipboardReachTheGuiThread();
  void pictureDialogEndsWithItemCode_data();
  void pictureDialogEndsWithItemCode();

 private:
  QWidget window_;
};

void TestQtHost::messageBoxReturnsPressedButton_data() {
  QTest::addColumn<QString>("buttons");
  QTest::addColumn<QStringList>("labels");
  QTest::addColumn<QString>("press");
  QTest::addColumn<QString>("name");

  QTest::newRow("OK") << "OK" << QStringList{"ОК"} << "ОК" << "OK";
  QTest::newRow("OK|CANCEL") << "OK|CANCEL" << QStringList{"ОК", "Отмена"}
                             << "Отмена" << "CANCEL";
  QTest::newRow("ABORT|RETRY|IGNORE")
      << "ABORT|RETRY|IGNORE" << QStringList{"Прервать", "Повтор", "Пропустить"}
      << "Пропустить" << "IGNORE";
  QTest::newRow("ABORT") << "ABORT|RETRY|IGNORE"
                         << QStringList{"Прервать", "Повтор", "Пропустить"}
                         << "Прервать" << "ABORT";
  QTest::newRow("YES|NO|CANCEL") << "YES|NO|CANCEL"
                                 << QStringList{"Да", "Нет", "Отмена"} << "Нет"
                                 << "NO";
  QTest::newRow("YES|NO") << "YES|NO" << QStringList{"Да", "Нет"} << "Да"
                          << "YES";
  QTest::newRow("RETRY|CANCEL") << "RETRY|CANCEL"
                                << QStringList{"Повтор", "Отмена"} << "Повтор"
                                << "RETRY";
  QTest::newRow("TRY") << "CANCEL|TRY|CONTINUE"
                       << QStringList{"Отмена", "Повторить", "Продолжить"}
                       << "Повторить" << "TRY";
  QTest::newRow("CONTINUE") << "CANCEL|TRY|CONTINUE"
                            << QStringList{"Отмена", "Повторить", "Продолжить"}
                            << "Продолжить" << "CONTINUE";
}

void TestQtHost::messageBoxReturnsPressedButton() {
  QFETCH(QString, buttons);
  QFETCH(QStringList, labels);
  QFETCH(QString, press);
  QFETCH(QString, name);

  QtHost host(&window_, [](const QString&) {});
  BoxRequest request;
  request.caption = cp("Вопрос");
  request.text = cp("Продолжить?");
  request.buttons = buttons.toStdString();

  QStringList shownLabels;
  bool pressed = false;
  ModalAnswerer answerer([&](QWidget* modal) {
    for (auto* button : modal->findChildren<QAbstractButton*>())
      shownLabels << button->text();
    pressed = clickButtonLabelled(modal, press);
  });
  const std::string answer = onWorker([&] { return host.messageBox(request); });

  QVERIFY(pressed);
  shownLabels.sort();
  labels.sort();
  QCOMPARE(shownLabels, labels);
  QCOMPARE(QString::fromStdString(answer), name);
}

void TestQtHost::boxShowsIconCaptionAndPlainText_data() {
  QTest::addColumn<QString>("icon");
  QTest::addColumn<QMessageBox::Icon>("shown");
  QTest::newRow("none") << "" << QMessageBox::NoIcon;
  QTest::newRow("(X)") << "(X)" << QMessageBox::Critical;
  QTest::newRow("(?)") << "(?)" << QMessageBox::Question;
  QTest::newRow("!") << "!" << QMessageBox::Warning;
  QTest::newRow("(i)") << "(i)" << QMessageBox::Information;
}

void TestQtHost::boxShowsIconCaptionAndPlainText() {
  QFETCH(QString, icon);
  QFETCH(QMessageBox::Icon, shown);
  BoxRequest request;
  request.caption = cp("Заголовок");
  request.text = cp("<b>строка 1</b>\r\nстрока 2");
  request.icon = icon.toStdString();
  ButtonBox box(&window_, request);
  QCOMPARE(box.dialog().icon(), shown);
  QCOMPARE(box.dialog().windowTitle(), QStringLiteral("Заголовок"));
  QCOMPARE(box.dialog().text(), QStringLiteral("<b>строка 1</b>\nстрока 2"));
  QCOMPARE(box.dialog().textFormat(), Qt::PlainText);
}

void TestQtHost::getStringReturnsTypedTextAsCp1251() {
  QtHost host(&window_, [](const QString&) {});
  QString prompt;
  bool inputHadFocus = false;
  ModalAnswerer answerer([&](QWidget* modal) {
    auto* dialog = qobject_cast<CGetStrDlg*>(modal);
    QVERIFY(dialog != nullptr);
    prompt = dialog->promptField()->text();
    QVERIFY(dialog->promptField()->isReadOnly());
    inputHadFocus = QTest::qWaitFor([&] { return dialog->inputField()->hasFocus(); });
    dialog->inputField()->insert(QStringLiteral("ответ 42"));
    clickButtonLabelled(dialog, QStringLiteral("ОК"));
  });
  const std::string typed =
      onWorker([&] { return host.getString(cp("Ваше имя?")); });
  QCOMPARE(prompt, QStringLiteral("Ваше имя?"));
  QVERIFY(inputHadFocus);
  QCOMPARE(typed, cp("ответ 42"));
}

void TestQtHost::getStringClosedWithoutOkIsEmpty() {
  QtHost host(&window_, [](const QString&) {});
  ModalAnswerer answerer([](QWidget* modal) {
    auto* dialog = qobject_cast<CGetStrDlg*>(modal);
    QVERIFY(dialog != nullptr);
    dialog->inputField()->setText(QStringLiteral("не нужно"));
    dialog->reject();
  });
  QCOMPARE(onWorker([&] { return host.getString(cp("?")); }), std::string());
}

void TestQtHost::getStringDialogRefusesCharacterOutsideCp1251() {
  CGetStrDlg dialog(QStringLiteral("?"), &window_);
  dialog.show();
  dialog.inputField()->setText(QStringLiteral("日"));
  QList<SeenBox> warnings;
  {
    ModalAnswerer answerer(
        [&](QWidget* modal) { recordAndClose(modal, warnings); });
    dialog.accept();
  }
  QCOMPARE(warnings.size(), 1);
  QVERIFY(warnings[0].text.contains(QStringLiteral("日")));
  QVERIFY(dialog.isVisible());
  QVERIFY(dialog.result().isEmpty());
  dialog.inputField()->setText(QStringLiteral("ж"));
  dialog.accept();
  QCOMPARE(dialog.result(), QStringLiteral("ж"));
}

void TestQtHost::statusAndClipboardReachTheGuiThread() {
  QString status;
  bool statusOnGuiThread = false;
  QtHost host(&window_, [&](const QString& text) {
    status = text;
    statusOnGuiThread = QThread::currentThread() == qApp->thread();
  });
  onWorker([&] {
    host.setStatus(cp("Выполняется с 10:15"));
    host.setClipboardText(cp("Привет\r\nмир"));
    return 0;
  });
  QCOMPARE(status, QStringLiteral("Выполняется с 10:15"));
  QVERIFY(statusOnGuiThread);
  QCOMPARE(QGuiApplication::clipboard()->text(),
           QStringLiteral("Привет\r\nмир"));
}

void TestQtHost::pictureDialogEndsWithItemCode_data() {
  QTest::addColumn<PictureMode>("mode");
  QTest::addColumn<QStringList>("menu");
  QTest::addColumn<QString>("press");  // empty: Escape
  QTest::addColumn<int>("code");

  QTest::newRow("show: Нет") << PictureMode::Show << QStringList{"Да", "Нет"}
                             << "Нет" << 2;
  QTest::newRow("show: Продолжить")
      << PictureMode::Show << QStringList{"Да", "Нет", "Продолжить"}
      << "Продолжить" << 3;
  QTest::newRow("show: Escape") << PictureMode::Show << QStringList{"Продолжить"}
                                << "" << 0;
  QTest::newRow("qshow: Пропустить is SKIP")
      << PictureMode::QShow << QStringList{} << "Пропустить" << 1;
  QTest::newRow("qshow: Спросить is ASK")
      << PictureMode::QShow << QStringList{} << "Спросить" << 2;
}

void TestQtHost::pictureDialogEndsWithItemCode() {
  QFETCH(PictureMode, mode);
  QFETCH(QStringList, menu);
  QFETCH(QString, press);
  QFETCH(int, code);

  QtHost host(&window_, [](const QString&) {});
  PictureRequest request;
  request.mode = mode;
  request.title = cp("Рисунок");
  for (const QString& item : menu) request.menu.push_back(cp(item.toStdString()));

  QString title;
  ModalAnswerer answerer([&](QWidget* modal) {
    title = modal->windowTitle();
    if (press.isEmpty()) {
      QTest::keyClick(modal, Qt::Key_Escape);
    } else {
      QVERIFY(clickButtonLabelled(modal, press));
    }
  });
  QCOMPARE(onWorker([&] { return host.showPicture(request); }), code);
  QCOMPARE(title, QStringLiteral("Рисунок"));
}

QTEST_MAIN(TestQtHost)
#include "tst_qthost.moc"
