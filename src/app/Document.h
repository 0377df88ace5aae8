// The program document: which file it belongs to, how that file is encoded,
// and the state the Run command and the save question depend on. The text
// itself lives in the editor; the document converts it at load and save.
#pragma once

#include <QDateTime>
#include <QString>

#include "text/Cp1251.h"

namespace tesmora::app {

class Document {
 public:
  Document();

  // An empty, untitled document created now.
  void startNew();

  // Reads a program file. On success the document takes the file's
  // absolute path (a later change of the working directory must not move
  // the file it saves to), encoding, byte-order mark and line-end style and `text` receives the editor text;
  // otherwise `error` says why and the document is unchanged.
  bool load(const QString& path, QString& text, QString& error);

  // Writes the editor text to `path` atomically, in the document's
  // encoding and line-end style. On success the document takes the
  // absolute path.
  bool save(const QString& path, const QString& text, QString& error);

  // The document now holds a sample program named `name`: its changes are
  // dropped silently until it is saved or replaced. The name is not a file
  // on disk yet; it lives in the user's data folder (examplePath), so a run
  // that saves the sample never writes into the working directory. The
  // text is new: UTF-8, LF.
  void holdExample(const QString& name);

  // Where a sample named `name` is saved: the user's data folder of the
  // program (created when missing).
  static QString examplePath(const QString& name);

  bool isUntitled() const { return path_.isEmpty(); }
  const QString& path() const { return path_; }
  // The file name for the user ("Без имени" for a new document).
  QString displayName() const;
  // The run title: the file name without its last four characters
  // ("Untitled" for a new document; it names the question file of a run).
  QString runTitle() const;

  DocumentEncoding encoding() const { return encoding_; }
  bool crLf() const { return crLf_; }
  // The file began with a UTF-8 byte-order mark; saving writes it back.
  bool byteOrderMark() const { return byteOrderMark_; }

  bool modified = false;
  // When the untitled document was started; the Run command offers to
  // save a document that has been untitled for a while.
  QDateTime created;
  // The document holds an example: its changes are dropped silently.
  bool example = false;

 private:
  QString path_;
  DocumentEncoding encoding_ = DocumentEncoding::Utf8;
  bool crLf_ = false;
  bool byteOrderMark_ = false;
};

}  // namespace tesmora::app
