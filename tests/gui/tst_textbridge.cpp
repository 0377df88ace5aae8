// The conversions between the editor's text and the interpreter's
// Windows-1251 CR LF text, and the mapping of error offsets back to editor
// positions.
#include <QtTest>

#include "app/TextBridge.h"
#include "text/Cp1251.h"

using tesmora::cp;
using namespace tesmora::app;

class TestTextBridge : public QObject {
  Q_OBJECT

 private slots:
  void runTextHasCrLfAndOneBytePerCharacter_data();
  void runTextHasCrLfAndOneBytePerCharacter();
  void characterOutsideCp1251IsReportedAtItsPosition_data();
  void characterOutsideCp1251IsReportedAtItsPosition();
  void offsetMapsToEditorPosition_data();
  void offsetMapsToEditorPosition();
  void everyOffsetOfRoundTripLandsOnTheSameCharacter();
  void displayTextDropsCrBeforeLf();
};

void TestTextBridge::runTextHasCrLfAndOneBytePerCharacter_data() {
  QTest::addColumn<QString>("editor");
  QTest::addColumn<QByteArray>("expected");

  QTest::newRow("ascii") << "2+3*4" << QByteArray("2+3*4");
  QTest::newRow("lines") << "a = 1;\nb = 2;\n"
                         << QByteArray("a = 1;\r\nb = 2;\r\n");
  QTest::newRow("cyrillic") << "s = \"Привет\";"
                            << QByteArray(cp("s = \"Привет\";").c_str());
  QTest::newRow("nbsp, dash, euro") << "a\u00A0b\u2014c\u20AC"
                                    << QByteArray("a\xA0" "b\x97" "c\x88");
  QTest::newRow("paragraph separator of a selection")
      << editorText(QStringLiteral("x\u2029y")) << QByteArray("x\r\ny");
}

void TestTextBridge::runTextHasCrLfAndOneBytePerCharacter() {
  QFETCH(QString, editor);
  QFETCH(QByteArray, expected);
  const Cp1251Text text = toCp1251CrLf(editor);
  QVERIFY(text.ok);
  QCOMPARE(QByteArray::fromStdString(text.bytes), expected);
}

void TestTextBridge::characterOutsideCp1251IsReportedAtItsPosition_data() {
  QTest::addColumn<QString>("editor");
  QTest::addColumn<int>("position");
  QTest::addColumn<QString>("character");

  QTest::newRow("cjk after cyrillic") << "ж = 1;\n日" << 7 << "日";
  QTest::newRow("emoji (surrogate pair)")
      << "a\U0001F600b" << 1 << "\U0001F600";
  QTest::newRow("first character") << "∑" << 0 << "∑";
}

void TestTextBridge::characterOutsideCp1251IsReportedAtItsPosition() {
  QFETCH(QString, editor);
  QFETCH(int, position);
  QFETCH(QString, character);
  const Cp1251Text text = toCp1251CrLf(editor);
  QVERIFY(!text.ok);
  QCOMPARE(text.badPosition, position);
  QCOMPARE(text.badCharacter, character);
}

void TestTextBridge::offsetMapsToEditorPosition_data() {
  QTest::addColumn<QByteArray>("runText");
  QTest::addColumn<int>("offset");
  QTest::addColumn<int>("position");

  QTest::newRow("single line") << QByteArray("x") << 1 << 1;
  QTest::newRow("after one CR LF") << QByteArray("1;\r\nzz") << 6 << 5;
  QTest::newRow("after two CR LF") << QByteArray("a\r\nb\r\ncd") << 8 << 6;
  QTest::newRow("between CR and LF: end of the line")
      << QByteArray("ab\r\ncd") << 3 << 2;
  QTest::newRow("at CR") << QByteArray("ab\r\ncd") << 2 << 2;
  QTest::newRow("lone CR is a character") << QByteArray("a\rb") << 3 << 3;
  QTest::newRow("cyrillic comment")
      << QByteArray(cp("// Комментарий\r\nzz").c_str()) << 18 << 17;
  QTest::newRow("past the end") << QByteArray("a\r\nb") << 99 << 3;
  QTest::newRow("empty text") << QByteArray() << 0 << 0;
}

void TestTextBridge::offsetMapsToEditorPosition() {
  QFETCH(QByteArray, runText);
  QFETCH(int, offset);
  QFETCH(int, position);
  QCOMPARE(editorPositionOf(runText.toStdString(), offset), position);
}

void TestTextBridge::everyOffsetOfRoundTripLandsOnTheSameCharacter() {
  // Whatever byte the interpreter points at, the editor shows the same
  // character there.
  const QString editor = QStringLiteral("// Тест\n\tx = \"ёЁ\";\n\ny = x + 1;");
  const Cp1251Text text = toCp1251CrLf(editor);
  QVERIFY(text.ok);
  for (std::size_t offset = 0; offset < text.bytes.size(); ++offset) {
    const char byte = text.bytes[offset];
    if (byte == '\r') continue;  // the line break shows as the LF
    const int position = editorPositionOf(text.bytes, offset);
    const QString atByte =
        QString::fromStdString(tesmora::cp1251ToUtf8(std::string(1, byte)));
    QCOMPARE(editor.at(position), atByte.at(0));
  }
}

void TestTextBridge::displayTextDropsCrBeforeLf() {
  QCOMPARE(fromCp1251(cp("строка 1\r\nстрока 2\r\n")),
           QStringLiteral("строка 1\nстрока 2\n"));
  QCOMPARE(fromCp1251("a\rb"), QStringLiteral("a\rb"));
}

QTEST_GUILESS_MAIN(TestTextBridge)
#include "tst_textbridge.moc"
