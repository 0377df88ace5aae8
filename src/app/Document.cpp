#include "app/Document.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <string_view>

#include "app/TextBridge.h"

namespace tesmora::app {

namespace {

const QString kUntitledTitle = QStringLiteral("Untitled");
const QString kUntitledName = QStringLiteral("Без имени");
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

Document::Document() { startNew(); }

void Document::startNew() {
  path_.clear();
  // New documents follow the Linux convention: UTF-8 with LF line ends.
  encoding_ = DocumentEncoding::Utf8;
  crLf_ = false;
  byteOrderMark_ = false;
  modified = false;
  created = QDateTime::currentDateTime();
  example = false;
}

void Document::holdExample(const QString& name) {
  startNew();
  path_ = examplePath(name);
  example = true;
}

QString Document::examplePath(const QString& name) {
  const QString folder =
      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(folder);
  return QDir(folder).filePath(name);
}

bool Document::load(const QString& path, QString& text, QString& error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("Не удается открыть файл %1.\n%2")
                .arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
  }
  const QByteArray bytes = file.readAll();
  std::string_view content(bytes.constData(), bytes.size());
  // Editors on other systems often start UTF-8 files with a byte-order
  // mark; it is no character of the program.
  const bool bom = content.starts_with(kUtf8Bom);
  if (bom) content.remove_prefix(kUtf8Bom.size());
  DecodedText decoded = decodeDocument(content);
  if (!decoded.ok) {
    error = QStringLiteral(
                "Файл %1 содержит символ, которого нет в кодировке "
                "Windows-1251 (байт %2).")
                .arg(QDir::toNativeSeparators(path))
                .arg(decoded.badOffset + (bom ? kUtf8Bom.size() : 0));
    return false;
  }
  // With the mark the file is UTF-8 even when the rest is plain ASCII.
  if (bom) decoded.encoding = DocumentEncoding::Utf8;
  text = fromCp1251(decoded.text);
  path_ = QFileInfo(path).absoluteFilePath();
  encoding_ = decoded.encoding;
  crLf_ = decoded.hadCrLf;
  byteOrderMark_ = bom;
  example = false;
  return true;
}

bool Document::save(const QString& path, const QString& text, QString& error) {
  const Cp1251Text converted = toCp1251CrLf(text);
  if (!converted.ok) {
    error = QStringLiteral(
                "Символ «%1» нельзя сохранить: его нет в кодировке "
                "Windows-1251.")
                .arg(converted.badCharacter);
    return false;
  }
  std::string bytes = encodeDocument(converted.bytes, encoding_, crLf_);
  if (byteOrderMark_ && encoding_ == DocumentEncoding::Utf8)
    bytes.insert(0, kUtf8Bom);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
          static_cast<qint64>(bytes.size()) ||
      !file.commit()) {
    error = QStringLiteral("Не удается сохранить файл %1.\n%2")
                .arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
  }
  path_ = QFileInfo(path).absoluteFilePath();
  example = false;
  return true;
}

QString Document::displayName() const {
  return isUntitled() ? kUntitledName : QFileInfo(path_).fileName();
}

QString Document::runTitle() const {
  if (isUntitled()) return kUntitledTitle;
  const QString name = QFileInfo(path_).fileName();
  return name.chopped(std::min<qsizetype>(4, name.size()));
}

}  // namespace tesmora::app
