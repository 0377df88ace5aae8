// Файл -> Экспорт экзамена в PDF...: compiles the LaTeX files that the last
// run wrote (question file, exam papers and their students' versions) with
// pdflatex, showing the progress, then opens the folder of the PDFs. A TeX
// error is shown with its file, line and TeX's message.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QAction;
class QWidget;

namespace tesmora::app {

class RunController;

// The outcome of compiling one file.
struct PdfOutcome {
  QString tex;
  bool ok = false;
  QString file;     // on failure: the file TeX names (or the .tex itself)
  int line = 0;     // its line, 0 when TeX names none
  QString message;  // TeX's message, or why pdflatex could not finish
  QString details;  // the log's lines of the error
};

class ExamExport : public QObject {
  Q_OBJECT

 public:
  ExamExport(QWidget* window, RunController* runs);

  // The menu entry of the File menu, owned by the window.
  static QAction* createAction(QWidget* window, RunController* runs);

  // The files of the last run, in the order they were written.
  const QStringList& lastRunFiles() const { return files_; }
  void setLastRunFiles(const QStringList& files) { files_ = files; }

  // Compiles every file of the last run with a progress dialog; shows the
  // errors, opens the folder. Returns the outcomes (empty when there was
  // nothing to do or no pdflatex).
  QList<PdfOutcome> exportPdf();

  // How a folder is opened; tests replace it.
  void setFolderOpener(std::function<void(const QString&)> open) { openFolder_ = std::move(open); }

  // Compiles one file with `pdflatex` in its folder (exposed for tests).
  static PdfOutcome compile(const QString& pdflatex, const QString& tex,
                            const QString& supportDir);
  // The error box text for the failed outcomes.
  static QString errorText(const QList<PdfOutcome>& failures);

 private:
  QWidget* window_;
  QStringList files_;
  std::function<void(const QString&)> openFolder_;
};

}  // namespace tesmora::app
