// Файл -> Экспорт экзамена в PDF...: the last run's LaTeX files compiled
// with pdflatex, a TeX error shown with its file, line and message, and the
// folder opened when something compiled. Skipped without pdflatex.
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <QMenu>
#include <QMenuBar>

#include "ModalAnswerer.h"
#include "app/Editor.h"
#include "app/ExamExport.h"
#include "app/MainWindow.h"

using namespace tesmora::app;
using namespace tesmora::app::test;

namespace {

// A paper as the exam generator writes it, with one line of question text.
QByteArray paper(const QByteArray& question) {
  return "\\documentclass[12pt,thmsa]{article}\r\n\\usepackage{sw20jart}\r\n"
         "\\input{tcilatex}\r\n\\begin{document}\r\n\\section{Exam}\r\n\r\n"
         "\\section{Question}\n\n\\subsection{Statement}\n\n" + question +
         "\n\n\\end{document}\n";
}

QString write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  const QString path = dir.filePath(name);
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write(bytes);
  return path;
}

}  // namespace

class TestExamExport : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    if (QStandardPaths::findExecutable("pdflatex").isEmpty()) QSKIP("pdflatex is not installed");
  }

  void compilesAndReportsErrors() {
    QTemporaryDir dir;
    const QString good = write(dir, "1a.tex", paper("$\\det A = 5$, $\\tg x$."));
    const QString bad = write(dir, "1b.tex", paper("$\\nosuchmacro$"));
    QWidget window;
    ExamExport exporter(&window, nullptr);
    QString opened;
    exporter.setFolderOpener([&](const QString& folder) { opened = folder; });
    exporter.setLastRunFiles({good, bad});

    QList<SeenBox> seen;
    ModalAnswerer answerer([&](QWidget* modal) {
      if (qobject_cast<QMessageBox*>(modal)) recordAndClose(modal, seen);
    });
    const QList<PdfOutcome> outcomes = exporter.exportPdf();

    QCOMPARE(outcomes.size(), 2);
    QVERIFY(outcomes[0].ok);
    QVERIFY(QFile::exists(dir.filePath("1a.pdf")));
    QVERIFY(!outcomes[1].ok);
    QVERIFY(!QFile::exists(dir.filePath("1b.pdf")));
    QCOMPARE(outcomes[1].file, dir.filePath("1b.tex"));
    QCOMPARE(outcomes[1].line, 11);
    QCOMPARE(outcomes[1].message, QStringLiteral("Undefined control sequence."));
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen[0].icon, QMessageBox::Critical);
    QVERIFY2(seen[0].text.contains(QStringLiteral("Строка: 11")), qPrintable(seen[0].text));
    QVERIFY(seen[0].text.contains("1b.tex"));
    QVERIFY(seen[0].text.contains("\\nosuchmacro"));
    QCOMPARE(opened, QDir(dir.path()).absolutePath());
  }

  // The File menu's entry compiles what the run that ended last wrote.
  void theEntryFollowsTheLastRun() {
    QCoreApplication::setOrganizationName(QStringLiteral("KestrelTests"));
    QCoreApplication::setApplicationName(QStringLiteral("TesmoraExamExport"));
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    MainWindow window;
    QAction* entry = nullptr;
    for (QAction* action : window.menuBar()->actions().front()->menu()->actions()) {
      if (action->text() == QStringLiteral("Экспорт экзамена в &PDF...")) entry = action;
    }
    QVERIFY(entry != nullptr);
    auto* exporter = window.findChild<ExamExport*>();
    QVERIFY(exporter != nullptr);

    QList<SeenBox> seen;
    ModalAnswerer answerer([&](QWidget* modal) { recordAndClose(modal, seen); });
    window.editor()->setPlainText(QStringLiteral("x1 = 2;\n<<R>> x1;\n<<Statement>>x1\n"));
    window.runProgram();
    QCOMPARE(exporter->lastRunFiles(),
             QStringList({QDir(dir.path()).absoluteFilePath("Untitled.tex")}));
    window.editor()->setPlainText(QStringLiteral("1 + 1"));
    window.runProgram();
    QVERIFY(exporter->lastRunFiles().isEmpty());
    QDir::setCurrent(before);
  }

  void nothingToCompileIsSaid() {
    QWidget window;
    ExamExport exporter(&window, nullptr);
    bool opened = false;
    exporter.setFolderOpener([&](const QString&) { opened = true; });
    QList<SeenBox> seen;
    ModalAnswerer answerer([&](QWidget* modal) { recordAndClose(modal, seen); });
    QVERIFY(exporter.exportPdf().isEmpty());
    QCOMPARE(seen.size(), 1);
    QVERIFY(seen[0].text.contains(QStringLiteral("не записал файлов LaTeX")));
    QVERIFY(!opened);
  }
};

QTEST_MAIN(TestExamExport)
#include "tst_examexport.moc"
