#include "app/Document.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "app/TextBridge.h"

namespace tesmora::app {

namespace {

const QString kUntitled = QStringLiteral("Untitled");

}  // namespace

Document::Document() { startNew(); }

void Document::startNew() {
  path_.clear();
  // New documents follow the Linux convention: UTF-8 with LF line ends.
  encoding_ = DocumentEncoding::Utf8;
  crLf_ = false;
  modified = false;
  created = QDateTime::currentDateTime();
  example = false;
}

void Document::holdExample(const QString& name) {
  startNew();
  path_ = name;
  example = true;
}

bool Document::load(const QString& path, QString& text, QString& error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("Не удается открыть файл %1.\n%2")
                .arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
  }
  const QByteArray bytes = file.readAll();
  const DecodedText decoded =
      decodeDocument(std::string_view(bytes.constData(), bytes.size()));
  if (!decoded.ok) {
    error = QStringLiteral(
                "Файл %1 содержит символ, которого нет в кодировке "
                "Windows-1251 (байт %2).")
                .arg(QDir::toNativeSeparators(path))
                .arg(decoded.badOffset);
    return false;
  }
  text = fromCp1251(decoded.text);
  path_ = path;
  encoding_ = decoded.encoding;
  crLf_ = decoded.hadCrLf;
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
  const std::string bytes = encodeDocument(converted.bytes, encoding_, crLf_);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
          static_cast<qint64>(bytes.size()) ||
      !file.commit()) {
    error = QStringLiteral("Не удается сохранить файл %1.\n%2")
                .arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
  }
  path_ = path;
  example = false;
  return true;
}

QString Document::displayName() const {
  return isUntitled() ? kUntitled : QFileInfo(path_).fileName();
}

QString Document::runTitle() const {
  if (isUntitled()) return kUntitled;
  const QString name = QFileInfo(path_).fileName();
  return name.chopped(std::min<qsizetype>(4, name.size()));
}

}  // namespace tesmora::app
