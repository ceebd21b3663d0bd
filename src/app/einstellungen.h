#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <QJsonObject>
#include <QJsonValue>

namespace klebwerk {

// The user's settings: a JSON object of key → value in one file, written atomically
// on every change. Values are read at the moment of use: a change of the file by
// someone else is picked up on the next read. A value of the wrong type reads as
// absent. Safe from any thread.
class Einstellungen {
public:
    explicit Einstellungen(std::string datei);

    const std::string& datei() const { return datei_; }

    // Values used when a key holds nothing of its own.
    void registriereStandards(const QJsonObject& standards);

    // The stored value, else the registered default; undefined when neither exists.
    QJsonValue wert(const std::string& schluessel) const;
    // Stores a value; an undefined value removes the key.
    void setze(const std::string& schluessel, const QJsonValue& wert);
    void entferne(const std::string& schluessel);

    // A Boolean; absent or of another type reads as false.
    bool istWahr(const std::string& schluessel) const;
    // A Boolean that reads as `wennFehlt` when absent or of another type.
    bool istWahrOder(const std::string& schluessel, bool wennFehlt) const;
    void setzeWahr(const std::string& schluessel, bool wert);

    std::optional<std::string> text(const std::string& schluessel) const;
    void setzeText(const std::string& schluessel, const std::string& wert);

    // A whole number; 0 when absent or not a whole number.
    std::int64_t ganzzahl(const std::string& schluessel) const;
    void setzeGanzzahl(const std::string& schluessel, std::int64_t wert);

    // Lists; entries of another type make the whole list read as absent (empty).
    std::vector<std::int64_t> zahlen(const std::string& schluessel) const;
    std::vector<std::string> texte(const std::string& schluessel) const;
    std::vector<std::vector<std::int64_t>> zahlenListen(const std::string& schluessel) const;

    // A JSON number as a whole number, when it is one.
    static std::optional<std::int64_t> alsGanzzahl(const QJsonValue& wert);

private:
    void ladeWennGeaendert() const;  // under sperre_
    void speichere();                // under sperre_

    std::string datei_;
    mutable std::mutex sperre_;
    mutable QJsonObject werte_;
    // What identifies the file's content last read: one stat() per read decides
    // whether it must be read again (another process may have replaced it).
    struct Dateistand {
        std::int64_t groesse = -1;
        std::int64_t geaendertNs = 0;
        std::uint64_t inode = 0;
        bool operator==(const Dateistand&) const = default;
    };
    mutable Dateistand gelesen_;
    // The file's stand now; the default (size -1) when it does not exist.
    static Dateistand standVon(const std::string& datei);
    mutable bool defekt_ = false;  // the file held no JSON object: kept aside before the first write
    QJsonObject standards_;
};

}  // namespace klebwerk
