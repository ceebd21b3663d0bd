#pragma once

#include <string>

#include <QImage>
#include <QTemporaryDir>

namespace klebwerk::test {

// A small PNG capture named `name` in `ordner`; its path, or "" when it could not be written.
inline std::string schreibeTestbild(const QTemporaryDir& ordner, const std::string& name) {
    const QString pfad = ordner.filePath(QString::fromStdString(name));
    QImage bild(8, 8, QImage::Format_RGB32);
    bild.fill(Qt::darkCyan);
    return bild.save(pfad, "PNG") ? pfad.toStdString() : std::string();
}

}  // namespace klebwerk::test
