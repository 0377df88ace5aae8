// tesmora: the desktop program. Opens the document named on the command
// line, if any.
#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/AppIcons.h"
#include "app/MainWindow.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("Kestrel"));
  QCoreApplication::setApplicationName(QStringLiteral("Tesmora"));
  // The desktop matches the window to tesmora.desktop (its icon, its name).
  QGuiApplication::setDesktopFileName(QStringLiteral("tesmora"));
  QApplication::setWindowIcon(tesmora::app::applicationIcon());

  // The program speaks Russian; Qt's own dialogs (file choosers, standard
  // buttons) follow, from the system's Qt translations
  // (qt6-translations-l10n).
  QTranslator qtTranslator;
  if (qtTranslator.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"),
                        QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&qtTranslator);

  QCommandLineParser parser;
  parser.addHelpOption();
  parser.addPositionalArgument(QStringLiteral("file"),
                               QStringLiteral("A program document (.tsm)."));
  parser.process(app);

  tesmora::app::MainWindow window;
  const QStringList files = parser.positionalArguments();
  if (!files.isEmpty()) window.loadFile(files.first());
  window.show();
  return QApplication::exec();
}
