#include "input/kuerzel.h"

#include <QJsonArray>

namespace klebwerk {

std::optional<Kuerzel> gespeichertesKuerzel(const Einstellungen& ud, KuerzelArt art) {
    QJsonValue w = ud.wert("kuerzel." + kuerzelArtName(art));
    if (!w.isArray()) return std::nullopt;
    QJsonArray a = w.toArray();
    if (a.size() != 3) return std::nullopt;
    auto code = Einstellungen::alsGanzzahl(a[0]);
    auto mods = Einstellungen::alsGanzzahl(a[1]);
    if (!code || !mods || !a[2].isString()) return std::nullopt;
    return Kuerzel{*code, *mods, a[2].toString().toStdString()};
}

}  // namespace klebwerk
