#pragma once

// A target as the represented object of a menu item.

#include <memory>

#include <QMetaType>
#include <QVariant>

#include "targets/ziel.h"

Q_DECLARE_METATYPE(std::shared_ptr<klebwerk::Ziel>)

namespace klebwerk {

inline QVariant zielObjekt(const std::shared_ptr<Ziel>& z) { return QVariant::fromValue(z); }

// The target a menu item represents; none when it represents something else.
inline std::shared_ptr<Ziel> alsZiel(const QVariant& v) {
    if (v.metaType() != QMetaType::fromType<std::shared_ptr<Ziel>>()) return nullptr;
    return v.value<std::shared_ptr<Ziel>>();
}

}  // namespace klebwerk
