#include "input/kuerzel.h"

namespace klebwerk {

std::optional<Kuerzel> gespeichertesKuerzel(const Einstellungen& ud, KuerzelArt art) {
    QJsonValue w = ud.wert(kuerzelSchluessel(art));
    if (!w.isArray()) return std::nullopt;
    QJsonArray a = w.toArray();
    if (a.size() != 3) return std::nullopt;
    auto code = Einstellungen::alsGanzzahl(a[0]);
    auto mods = Einstellungen::alsGanzzahl(a[1]);
    if (!code || !mods || !a[2].isString()) return std::nullopt;
    if (*code < 0 || *code > 0xFFFF || *mods < 0 || *mods > 0xFFFFFFFFLL) return std::nullopt;
    return Kuerzel{static_cast<std::uint32_t>(*code), static_cast<std::uint32_t>(*mods),
                   a[2].toString().toStdString()};
}

QJsonArray speicherform(const Kuerzel& k) {
    return QJsonArray{static_cast<qint64>(k.code), static_cast<qint64>(k.mods), QString::fromStdString(k.text)};
}

}  // namespace klebwerk
