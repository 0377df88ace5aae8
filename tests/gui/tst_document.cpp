// Loading and saving program documents: the editor shows UTF-8 text, the
// file keeps its encoding and line ends, and saving never damages a file.
#include <QtTest>

#include <QTemporaryDir>

#include "app/Document.h"
#include "app/Editor.h"
#include "text/Cp1251.h"

using tesmora::cp;
using tesmora::DocumentEncoding;
using namespace tesmora::app;

Q_DECLARE_METATYPE(DocumentEncoding)

namespace {

QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray cp1251(const char* utf8) { return QByteArray::fromStdString(cp(utf8)); }

}  // namespace

class TestDocument : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(dir_.isValid()); }
  void fileRoundTripsThroughTheEditor_data();
  void fileRoundTripsThroughTheEditor();
  void newDocumentIsSavedAsUtf8WithLf();
  void fileWithCharacterOutsideCp1251IsRefused();
  void unsavableTextLeavesTheFileUntouched();
  void missingFileIsReported();
  void byteOrderMarkIsKeptOnSave_data();
  void byteOrderMarkIsKeptOnSave();
  void relativePathStaysWithTheFileAfterChdir();
  void runTitleDropsTheExtension_data();
  void runTitleDropsTheExtension();

 private:
  QTemporaryDir dir_;
};

void TestDocument::fileRoundTripsThroughTheEditor_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<DocumentEncoding>("encoding");

  QTest::newRow("utf-8 cyrillic, LF")
      << QByteArray("s = \"Привет\";\n// комментарий\n")
      << "s = \"Привет\";\n// комментарий\n" << DocumentEncoding::Utf8;
  QTest::newRow("utf-8 cyrillic, CR LF")
      << QByteArray("x = 1;\r\n// ёЁ\r\n") << "x = 1;\n// ёЁ\n"
      << DocumentEncoding::Utf8;
  QTest::newRow("windows-1251, CR LF")
      << cp1251("s = \"Привет, мир\";\r\n\ty = 2;\r\n")
      << "s = \"Привет, мир\";\n\ty = 2;\n" << DocumentEncoding::Cp1251;
  QTest::newRow("windows-1251 with nbsp, U+0098 and dashes")
      << QByteArray("a\xA0" "b\x98" "c\x96\x97 \xE6\r\n")
      << "a\u00A0b\u0098c\u2013\u2014 ж\n" << DocumentEncoding::Cp1251;
  QTest::newRow("ascii, LF") << QByteArray("2+3*4\n") << "2+3*4\n"
                             << DocumentEncoding::Utf8;
  QTest::newRow("no final line end") << QByteArray("1\r\n2") << "1\n2"
                                     << DocumentEncoding::Utf8;
}

void TestDocument::fileRoundTripsThroughTheEditor() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, shown);
  QFETCH(DocumentEncoding, encoding);
  const QString path = dir_.filePath("round.tsm");
  writeAll(path, bytes);

  Document document;
  QString text;
  QString error;
  QVERIFY2(document.load(path, text, error), qPrintable(error));
  QCOMPARE(document.encoding(), encoding);

  Editor editor;
  editor.setPlainText(text);
  QCOMPARE(editor.text(), shown);

  const QString copy = dir_.filePath("copy.tsm");
  QVERIFY2(document.save(copy, editor.text(), error), qPrintable(error));
  QCOMPARE(readAll(copy), bytes);
  QCOMPARE(document.path(), copy);
}

void TestDocument::newDocumentIsSavedAsUtf8WithLf() {
  Document document;
  QVERIFY(document.isUntitled());
  QString error;
  const QString path = dir_.filePath("new.tsm");
  QVERIFY(document.save(path, QStringLiteral("а = 1;\nб = а;\n"), error));
  QCOMPARE(readAll(path), QByteArray("а = 1;\nб = а;\n"));
}

void TestDocument::fileWithCharacterOutsideCp1251IsRefused() {
  const QString path = dir_.filePath("cjk.tsm");
  writeAll(path, QByteArray("x = \"日本\";\n"));
  Document document;
  QString text;
  QString error;
  QVERIFY(!document.load(path, text, error));
  QVERIFY(error.contains(QStringLiteral("Windows-1251")));
  QVERIFY(document.isUntitled());
}

void TestDocument::unsavableTextLeavesTheFileUntouched() {
  const QString path = dir_.filePath("keep.tsm");
  writeAll(path, QByteArray("old\n"));
  Document document;
  QString text;
  QString error;
  QVERIFY(document.load(path, text, error));
  QVERIFY(!document.save(path, QStringLiteral("new \U0001F600"), error));
  QVERIFY(error.contains(QStringLiteral("\U0001F600")));
  QCOMPARE(readAll(path), QByteArray("old\n"));
}

void TestDocument::missingFileIsReported() {
  Document document;
  QString text;
  QString error;
  QVERIFY(!document.load(dir_.filePath("absent.tsm"), text, error));
  QVERIFY(error.contains(QStringLiteral("absent.tsm")));
  QVERIFY(document.isUntitled());
}

void TestDocument::runTitleDropsTheExtension_data() {
  QTest::addColumn<QString>("fileName");
  QTest::addColumn<QString>("title");
  QTest::newRow("program") << "prog.tsm" << "prog";
  QTest::newRow("cyrillic") << "задача.tsm" << "задача";
  QTest::newRow("other extension") << "notes.txt" << "notes";
  QTest::newRow("short name") << "ab" << "";
}

void TestDocument::runTitleDropsTheExtension() {
  QFETCH(QString, fileName);
  QFETCH(QString, title);
  Document document;
  QCOMPARE(document.runTitle(), QStringLiteral("Untitled"));
  QString error;
  QVERIFY(document.save(dir_.filePath(fileName), QString(), error));
  QCOMPARE(document.runTitle(), title);
}

void TestDocument::byteOrderMarkIsKeptOnSave_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("shown");
  QTest::newRow("cyrillic, LF") << QByteArray("\xEF\xBB\xBFs = \"Привет\";\n")
                                << "s = \"Привет\";\n";
  QTest::newRow("ascii, CR LF") << QByteArray("\xEF\xBB\xBF" "2+3\r\n") << "2+3\n";
  QTest::newRow("mark alone") << QByteArray("\xEF\xBB\xBF") << "";
}

void TestDocument::byteOrderMarkIsKeptOnSave() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, shown);
  const QString path = dir_.filePath("bom.tsm");
  writeAll(path, bytes);
  Document document;
  QString text;
  QString error;
  QVERIFY2(document.load(path, text, error), qPrintable(error));
  QCOMPARE(text, shown);
  QVERIFY(document.byteOrderMark());
  QCOMPARE(document.encoding(), DocumentEncoding::Utf8);

  QVERIFY2(document.save(path, text, error), qPrintable(error));
  QCOMPARE(readAll(path), bytes);
  // A new document gets no mark.
  document.startNew();
  QVERIFY(!document.byteOrderMark());
}

void TestDocument::relativePathStaysWithTheFileAfterChdir() {
  const QString before = QDir::currentPath();
  QVERIFY(QDir::setCurrent(dir_.path()));
  QVERIFY(QDir().mkpath(QStringLiteral("sub")));
  writeAll(QStringLiteral("sub/doc.tsm"), QByteArray("1\n"));
  Document document;
  QString text;
  QString error;
  QVERIFY(document.load(QStringLiteral("sub/doc.tsm"), text, error));
  QVERIFY(QFileInfo(document.path()).isAbsolute());
  // A program's chdir must not move where the document is saved.
  QVERIFY(QDir::setCurrent(dir_.filePath(QStringLiteral("sub"))));
  QVERIFY(document.save(document.path(), QStringLiteral("2\n"), error));
  QVERIFY(QDir::setCurrent(before));
  QCOMPARE(readAll(dir_.filePath(QStringLiteral("sub/doc.tsm"))), QByteArray("2\n"));
  QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("sub/sub/doc.tsm"))));
}

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
