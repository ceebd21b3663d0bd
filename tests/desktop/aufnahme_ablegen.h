#pragma once

#include <filesystem>
#include <string>
#include <system_error>

#include <QColor>
#include <QImage>

namespace klebwerk::test {

// A 64×48 capture written into `ordner` as screenshot tools write it: under a hidden
// name, then renamed into place. False when it could not be written.
inline bool legeAufnahmeAb(const std::string& ordner, const std::string& name, QColor farbe) {
    QImage bild(64, 48, QImage::Format_RGB32);
    bild.fill(farbe);
    const std::string versteckt = ordner + "/." + name;
    if (!bild.save(QString::fromStdString(versteckt), "PNG")) return false;
    std::error_code f;
    std::filesystem::rename(versteckt, ordner + "/" + name, f);
    return !f;
}

}  // namespace klebwerk::test
