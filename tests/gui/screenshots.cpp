// tesmora_screenshots OUTPUT_DIR [light|dark]: pictures of the desktop
// program for its documentation — the main window with a sample program
// after a run, the variables view, the results pane, and the picture
// window with its toolbar. Run it under a display (xvfb-run works).
#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QListWidget>
#include <QLocale>
#include <QPalette>
#include <QSettings>
#include <QStyleFactory>
#include <QTimer>
#include <QTranslator>
#include <QTreeWidget>

#include "app/Editor.h"
#include "app/ExamplesMenu.h"
#include "app/MainWindow.h"
#include "app/PictureDialog.h"
#include "app/ResultsDock.h"
#include "app/VariablesDock.h"

using namespace tesmora::app;

namespace {

QPalette darkPalette() {
  QPalette p;
  const QColor window(0x2b, 0x2d, 0x30), base(0x1e, 0x1f, 0x22),
      text(0xdf, 0xe1, 0xe5), highlight(0x35, 0x74, 0xf0);
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, QColor(0x26, 0x28, 0x2b));
  p.setColor(QPalette::ToolTipBase, window);
  p.setColor(QPalette::ToolTipText, text);
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, window);
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::Highlight, highlight);
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::PlaceholderText, QColor(0x8a, 0x8d, 0x93));
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, role, QColor(0x6f, 0x73, 0x7a));
  return p;
}

void settle(int ms = 150) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

PictureDialog* pictureWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* picture = qobject_cast<PictureDialog*>(widget);
    if (picture && picture->isVisible()) return picture;
  }
  return nullptr;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("KestrelScreenshots"));
  QCoreApplication::setApplicationName(QStringLiteral("Tesmora"));
  QSettings().clear();
  const QStringList args = app.arguments();
  const QDir out(args.value(1, QStringLiteral(".")));
  const QString scheme = args.value(2, QStringLiteral("light"));
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  if (scheme == QLatin1String("dark")) QApplication::setPalette(darkPalette());
  QTranslator qt;
  if (qt.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"),
              QStringLiteral("_"),
              QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&qt);
  const auto save = [&](QWidget* widget, const QString& name) {
    const QString path = out.filePath(name + QLatin1Char('-') + scheme +
                                      QStringLiteral(".png"));
    if (!widget->grab().save(path)) qWarning("cannot write %s", qPrintable(path));
  };

  MainWindow window;
  window.resize(1180, 760);
  window.findChild<QAction*>(QStringLiteral("resultsOnlyInPane"))->setChecked(true);
  window.show();
  settle();

  window.loadExample(exampleText(QStringLiteral("leontief.tsm")));
  window.runProgram();
  settle();
  // A console line after the run, and a fragment with an error, so the
  // pane shows its kinds of entries.
  window.resultsDock()->console()->setText(QStringLiteral("B &* Y2"));
  emit window.resultsDock()->console()->returnPressed();
  settle();
  window.resultsDock()->console()->setText(QStringLiteral("k = det(B)"));
  emit window.resultsDock()->console()->returnPressed();
  settle();
  window.editor()->placeCaret(window.editor()->text().indexOf(QStringLiteral("cdim")) + 2);
  window.variablesDock()->list()->setCurrentItem(
      window.variablesDock()->list()->topLevelItem(0));
  settle();
  save(&window, QStringLiteral("main"));
  save(window.variablesDock(), QStringLiteral("variables"));
  save(window.resultsDock(), QStringLiteral("results"));

  window.loadExample(exampleText(QStringLiteral("continuous_graph.tsm")));
  window.runProgram();
  settle(300);
  if (PictureDialog* picture = pictureWindow()) {
    picture->resize(560, 460);
    settle(300);
    save(picture, QStringLiteral("picture"));
  } else {
    qWarning("no picture window");
  }
  window.editor()->document()->setModified(false);
  QSettings().clear();
  return 0;
}
