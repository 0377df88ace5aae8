#include "app/ExamExport.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QUrl>

#include <cstdlib>

#include "app/MessageBoxes.h"
#include "app/RunController.h"
#include "exam/LatexFiles.h"
#include "exam/TexBuild.h"
#include "text/Cp1251.h"

namespace tesmora::app {
namespace {

QString fromCp1251Bytes(const QByteArray& bytes) {
  return QString::fromStdString(cp1251ToUtf8(std::string_view(bytes.constData(), bytes.size())));
}

QString supportDirectory() {
  return QString::fromStdString(findTexSupport(
      QCoreApplication::applicationDirPath().toStdString(), std::getenv("TESMORA_TEX_DIR")));
}

// The folder that holds every file: the output directory of the papers.
QString commonFolder(const QStringList& files) {
  QString folder = QFileInfo(files.front()).absolutePath();
  const auto holdsAll = [&] {
    for (const QString& file : files) {
      if (!file.startsWith(folder + QLatin1Char('/'))) return false;
    }
    return true;
  };
  while (!holdsAll() && folder.contains(QLatin1Char('/')) && folder != QLatin1String("/")) {
    folder = QFileInfo(folder).absolutePath();
  }
  return folder;
}

PdfOutcome failure(const QString& tex, const QString& message) {
  PdfOutcome outcome;
  outcome.tex = tex;
  outcome.file = tex;
  outcome.message = message;
  return outcome;
}

}  // namespace

ExamExport::ExamExport(QWidget* window, RunController* runs)
    : QObject(window), window_(window),
      openFolder_([](const QString& dir) { QDesktopServices::openUrl(QUrl::fromLocalFile(dir)); }) {
  if (!runs) return;
  // The list in the core belongs to the run being made; what the export
  // compiles is the list of the run that ended last.
  connect(runs, &RunController::runStarted, this, [] { clearLatexFiles(); });
  connect(runs, &RunController::runFinished, this, [this] {
    files_.clear();
    for (const LatexFile& file : latexFiles()) files_.append(QString::fromStdString(file.path));
  });
}

QAction* ExamExport::createAction(QWidget* window, RunController* runs) {
  auto* exporter = new ExamExport(window, runs);
  auto* action = new QAction(QStringLiteral("Экспорт экзамена в &PDF..."), window);
  connect(action, &QAction::triggered, exporter, [exporter] { exporter->exportPdf(); });
  return action;
}

PdfOutcome ExamExport::compile(const QString& pdflatex, const QString& tex,
                               const QString& supportDir) {
  const QFileInfo info(tex);
  const QString pdf = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + ".pdf";
  const QString log = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + ".log";
  QFile::remove(pdf);  // a PDF of an earlier run must not pass for this one

  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  const QByteArray existing = qgetenv("TEXINPUTS");
  env.insert("TEXINPUTS", QString::fromStdString(texInputs(
                              supportDir.toStdString(), existing.isEmpty() ? nullptr : existing.constData())));
  QStringList args;
  for (const std::string& arg : pdflatexArguments(info.fileName().toStdString())) {
    args << QString::fromStdString(arg);
  }
  for (int pass = 1; pass <= kPdflatexMaxPasses; ++pass) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(info.absolutePath());
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(pdflatex, args);
    if (!process.waitForStarted()) return failure(tex, QStringLiteral("pdflatex не запускается"));
    if (!process.waitForFinished(kPdflatexPassSeconds * 1000)) {
      process.kill();
      process.waitForFinished();
      return failure(tex, QStringLiteral("pdflatex не закончил работу за %1 с").arg(kPdflatexPassSeconds));
    }
    QFile logFile(log);
    const QByteArray logText = logFile.open(QIODevice::ReadOnly) ? logFile.readAll() : QByteArray();
    const std::string_view logView(logText.constData(), logText.size());
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 || !QFile::exists(pdf)) {
      const std::optional<TexError> error = firstTexError(logView);
      PdfOutcome outcome = failure(tex, QStringLiteral("pdflatex завершился с кодом %1").arg(process.exitCode()));
      if (error) {
        if (!error->file.empty()) {
          outcome.file = info.absolutePath() + QLatin1Char('/') + QString::fromStdString(error->file);
        }
        outcome.line = error->line;
        outcome.message = fromCp1251Bytes(QByteArray::fromStdString(error->message));
        outcome.details = fromCp1251Bytes(QByteArray::fromStdString(error->lines));
      }
      return outcome;
    }
    if (!logAsksRerun(logView)) break;
  }
  PdfOutcome outcome;
  outcome.tex = tex;
  outcome.ok = true;
  return outcome;
}

QString ExamExport::errorText(const QList<PdfOutcome>& failures) {
  QString text;
  for (const PdfOutcome& outcome : failures) {
    if (!text.isEmpty()) text += "\n\n";
    text += QStringLiteral("Файл: %1\n").arg(QDir::toNativeSeparators(outcome.file));
    if (outcome.line > 0) text += QStringLiteral("Строка: %1\n").arg(outcome.line);
    text += QStringLiteral("Ошибка TeX: %1").arg(outcome.message);
    if (!outcome.details.isEmpty()) text += "\n" + outcome.details.trimmed();
  }
  return text;
}

QList<PdfOutcome> ExamExport::exportPdf() {
  const QString caption = QStringLiteral("Экспорт экзамена в PDF");
  if (files_.isEmpty()) {
    showTextBox(window_, QMessageBox::Information, caption,
                QStringLiteral("Последний запуск не записал файлов LaTeX. Выполните программу "
                               "с вопросами или сборку экзамена (SaveExamAB, ExportExam …)."));
    return {};
  }
  const QString pdflatex = QStandardPaths::findExecutable(QStringLiteral("pdflatex"));
  if (pdflatex.isEmpty()) {
    showTextBox(window_, QMessageBox::Critical, caption,
                QStringLiteral("Не найден pdflatex. Установите TeX Live "
                               "(scripts/setup.sh --tex) и повторите экспорт."));
    return {};
  }
  const QString supportDir = supportDirectory();
  QProgressDialog progress(QStringLiteral("Компиляция файлов LaTeX…"), QStringLiteral("Отмена"), 0,
                           files_.size(), window_);
  progress.setWindowTitle(caption);
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(0);
  QList<PdfOutcome> outcomes;
  for (const QString& tex : files_) {
    if (progress.wasCanceled()) break;
    progress.setLabelText(QStringLiteral("Компиляция %1…").arg(QFileInfo(tex).fileName()));
    progress.setValue(outcomes.size());
    QCoreApplication::processEvents();
    outcomes.append(compile(pdflatex, tex, supportDir));
  }
  progress.setValue(files_.size());

  QList<PdfOutcome> failures;
  for (const PdfOutcome& outcome : outcomes) {
    if (!outcome.ok) failures.append(outcome);
  }
  if (!failures.isEmpty()) showTextBox(window_, QMessageBox::Critical, caption, errorText(failures));
  if (failures.size() < outcomes.size()) openFolder_(commonFolder(files_));
  return outcomes;
}

}  // namespace tesmora::app
