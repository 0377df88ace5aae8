// The picture out of its window: PNG, SVG and PDF files that are what
// they claim to be, at the window's size or a chosen one; a copy on the
// clipboard; antialiased lines that keep their pixels.
#include <QtTest>

#include <QClipboard>
#include <QTemporaryDir>
#include <QToolBar>
#include <QXmlStreamReader>

#include "ModalAnswerer.h"
#include "app/Editor.h"
#include "app/MainWindow.h"
#include "app/PictureDialog.h"
#include "app/PictureExport.h"
#include "app/QtCanvas.h"
#include "graphics/PictureLayout.h"
#include "graphics/PictureState.h"

using namespace tesmora::app;
using namespace tesmora::app::test;

namespace {

PictureDialog* visiblePictureWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* picture = qobject_cast<PictureDialog*>(widget);
    if (picture && picture->isVisible()) return picture;
  }
  return nullptr;
}

QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The rows that hold a pure or partly red pixel in column `x`.
QList<int> redRows(const QImage& image, int x) {
  QList<int> rows;
  for (int y = 0; y < image.height(); ++y) {
    const QColor c = image.pixelColor(x, y);
    if (c.red() > c.green() + 40) rows << y;
  }
  return rows;
}

}  // namespace

class TestPictureExport : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanupTestCase();
  void filesAreValid_data();
  void filesAreValid();
  void chosenSizeIsWritten();
  void copyPutsTheImageOnTheClipboard();
  void toolbarAndContextMenuOfferTheCommands();
  void antialiasingKeepsThePixels();

 private:
  PictureDialog* runPicture(const QString& program);

  QTemporaryDir dir_;
  MainWindow* window_ = nullptr;
};

void TestPictureExport::initTestCase() {
  QCoreApplication::setOrganizationName(QStringLiteral("KestrelTests"));
  QCoreApplication::setApplicationName(QStringLiteral("TesmoraPictures"));
  window_ = new MainWindow;
  window_->show();
  QVERIFY(runPicture(QStringLiteral("x = 0:6:0.25;\nline(x, sin(x), red, 2);\naxes();")));
}

void TestPictureExport::cleanupTestCase() {
  window_->editor()->document()->setModified(false);
  delete window_;
}

PictureDialog* TestPictureExport::runPicture(const QString& program) {
  window_->editor()->setPlainText(program);
  window_->document().created = QDateTime::currentDateTime();
  QList<SeenBox> boxes;
  ModalAnswerer answerer([&](QWidget* modal) { recordAndClose(modal, boxes); });
  window_->runProgram();
  return boxes.isEmpty() ? visiblePictureWindow() : nullptr;
}

void TestPictureExport::filesAreValid_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QByteArray>("start");
  QTest::newRow("png") << "picture.png" << QByteArray("\x89PNG\r\n\x1a\n");
  QTest::newRow("svg") << "picture.svg" << QByteArray("<");
  QTest::newRow("pdf") << "picture.pdf" << QByteArray("%PDF-");
}

void TestPictureExport::filesAreValid() {
  QFETCH(QString, name);
  QFETCH(QByteArray, start);
  PictureDialog* picture = visiblePictureWindow();
  QVERIFY(picture);
  const QString path = dir_.filePath(name);
  QVERIFY(picture->savePictureTo(path, picture->pictureSize()));
  const QByteArray bytes = readAll(path);
  QVERIFY2(bytes.startsWith(start), bytes.left(16).constData());

  if (name.endsWith(QLatin1String(".png"))) {
    QImage image;
    QVERIFY(image.loadFromData(bytes, "PNG"));
    QCOMPARE(image.size(), picture->pictureSize());
  } else if (name.endsWith(QLatin1String(".svg"))) {
    QXmlStreamReader xml(bytes);
    QString root;
    while (!xml.atEnd()) {
      if (xml.readNext() == QXmlStreamReader::StartElement && root.isEmpty())
        root = xml.name().toString();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(root, QStringLiteral("svg"));
    QVERIFY(bytes.contains("<line") || bytes.contains("<path") ||
            bytes.contains("<polyline") || bytes.contains("<rect"));
  } else {
    QVERIFY(bytes.trimmed().endsWith("%%EOF"));
  }
}

void TestPictureExport::chosenSizeIsWritten() {
  PictureDialog* picture = visiblePictureWindow();
  QVERIFY(picture);
  const QString path = dir_.filePath(QStringLiteral("big.png"));
  QVERIFY(picture->savePictureTo(path, QSize(1200, 800)));
  QImage image(path);
  QCOMPARE(image.size(), QSize(1200, 800));
  // A folder that does not exist is reported, and nothing is written.
  QList<SeenBox> boxes;
  {
    ModalAnswerer answerer([&](QWidget* modal) { recordAndClose(modal, boxes); });
    QVERIFY(!picture->savePictureTo(dir_.filePath(QStringLiteral("no/such/x.png")),
                                    QSize(100, 100)));
  }
  QCOMPARE(boxes.size(), 1);
  QVERIFY(boxes[0].text.startsWith(QStringLiteral("Не удается сохранить рисунок")));
}

void TestPictureExport::copyPutsTheImageOnTheClipboard() {
  PictureDialog* picture = visiblePictureWindow();
  QVERIFY(picture);
  QGuiApplication::clipboard()->clear();
  QAction* copy = picture->findChild<QAction*>(QStringLiteral("copyPicture"));
  QVERIFY(copy);
  QCOMPARE(copy->shortcut(), QKeySequence(QKeySequence::Copy));
  copy->trigger();
  const QImage image = QGuiApplication::clipboard()->image();
  QCOMPARE(image.size(), picture->pictureSize());
  // The line is on it: some pixel is clearly red.
  bool red = false;
  for (int x = 0; x < image.width() && !red; x += 3)
    red = !redRows(image, x).isEmpty();
  QVERIFY(red);
}

void TestPictureExport::toolbarAndContextMenuOfferTheCommands() {
  PictureDialog* picture = visiblePictureWindow();
  QVERIFY(picture);
  auto* tools = picture->findChild<QToolBar*>(QStringLiteral("pictureToolBar"));
  QVERIFY(tools && tools->isVisible());
  QStringList names;
  for (QAction* act : tools->actions()) {
    names << act->objectName();
    QVERIFY(!act->icon().isNull());
    QVERIFY(!act->toolTip().isEmpty());
  }
  QCOMPARE(names, (QStringList{"copyPicture", "savePicture", "savePictureSized"}));
  int viewsWithMenu = 0;
  for (QWidget* child : picture->findChildren<QWidget*>()) {
    if (child->contextMenuPolicy() == Qt::ActionsContextMenu &&
        child->actions().size() == 3)
      ++viewsWithMenu;
  }
  QCOMPARE(viewsWithMenu, 1);
}

void TestPictureExport::antialiasingKeepsThePixels() {
  // A horizontal and a steep line: smoothed, they cover the same rows as
  // drawn without antialiasing.
  PictureDialog* picture = runPicture(QStringLiteral(
      "line([0; 10], [3; 3], red, 1);\nline([0; 10], [0; 10], blue, 1);"));
  QVERIFY(picture);
  tesmora::graphics::PictureState& state = tesmora::graphics::picture();
  const QSize size(300, 300);
  const QImage smooth = renderPicture(state, size);
  QImage sharp(size, QImage::Format_RGB32);
  sharp.fill(Qt::white);
  {
    QPainter painter(&sharp);
    QtCanvas canvas(painter, size.width(), size.height());
    tesmora::graphics::paintPicture(state, canvas);
  }
  for (int x : {60, 150, 240}) QCOMPARE(redRows(smooth, x), redRows(sharp, x));
  // The diagonal gets blended pixels; the sharp one has none.
  const auto blended = [](const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c.blue() > 100 && c.red() > 20 && c.red() < 235) ++count;
      }
    return count;
  };
  QVERIFY(blended(smooth) > 0);
  QCOMPARE(blended(sharp), 0);
}

QTEST_MAIN(TestPictureExport)
#include "tst_pictureexport.moc"
