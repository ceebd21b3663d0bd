#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QByteArray>
#include <QJsonObject>

#include "ax/knopf_merkmal.h"

namespace klebwerk {

// The state that the status file shows.
struct StatusDaten {
    struct Zielangabe {
        std::string app;
        std::string titel;
        std::int64_t pid = 0;
        std::string name;
    };

    bool freigabe = false;
    bool pausiert = false;
    bool absenden = false;
    bool wacheLaeuft = false;
    std::string letzteZustellung;
    std::string ordner;
    std::string modus = "keiner";
    std::optional<Zielangabe> ziel;
    std::vector<std::string> verbunden;
    std::optional<KnopfMerkmal> knopf;
    std::optional<KnopfMerkmal> diktatKnopf;
    bool diktat = false;
    bool diktatSenden = false;
    bool diktatLaeuft = false;
    bool aufnahmen = false;
    bool feldSichtbar = false;
    bool papierkorb = false;
    std::string kuerzelDiktat;
    std::string kuerzelSenden;
    std::string kuerzelLernen;
};

QJsonObject statusObjekt(const StatusDaten& d);
// Pretty-printed JSON with sorted keys.
QByteArray statusJson(const StatusDaten& d);

}  // namespace klebwerk
