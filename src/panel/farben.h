#pragma once

#include <QColor>

namespace klebwerk {

// The panel's shared colours.
inline QColor feldGrund() { return QColor::fromRgbF(0.11f, 0.115f, 0.125f, 0.97f); }
inline QColor feldMint() { return QColor::fromRgbF(0.43f, 0.94f, 0.66f, 1.0f); }
inline QColor feldRot() { return QColor::fromRgbF(1.0f, 0.38f, 0.38f, 1.0f); }

// White at the given opacity, and an opaque grey of the given brightness.
inline QColor weiss(double alpha) { return QColor::fromRgbF(1.0f, 1.0f, 1.0f, static_cast<float>(alpha)); }
inline QColor grau(double hell) {
    float w = static_cast<float>(hell);
    return QColor::fromRgbF(w, w, w, 1.0f);
}
inline QColor mitAlpha(QColor farbe, double alpha) {
    farbe.setAlphaF(static_cast<float>(alpha));
    return farbe;
}

}  // namespace klebwerk
