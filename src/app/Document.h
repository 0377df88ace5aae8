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

  // Reads a program file. On success the document takes the file's path,
  // encoding and line-end style and `text` receives the editor text;
  // otherwise `error` says why and the document is unchanged.
  bool load(const QString& path, QString& text, QString& error);

  // Writes the editor text to `path` atomically, in the document's
  // encoding and line-end style. On success the document takes the path.
  bool save(const QString& path, const QString& text, QString& error);

  // The document now holds a sample program named `name`: its changes are
  // dropped silently until it is saved or replaced. The name is not a file
  // on disk; saving writes it like any path. The text is new: UTF-8, LF.
  void holdExample(const QString& name);

  bool isUntitled() const { return path_.isEmpty(); }
  const QString& path() const { return path_; }
  // The file name for the user ("Untitled" for a new document).
  QString displayName() const;
  // The run title: the file name without its last four characters.
  QString runTitle() const;

  DocumentEncoding encoding() const { return encoding_; }
  bool crLf() const { return crLf_; }

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
};

}  // namespace tesmora::app
