#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "intake/aufnahmearten.h"
#include "intake/pruefregel.h"
#include "platform/plattform.h"

namespace klebwerk {

// Watches the capture folders and reports every finished capture once. Files in the
// folders when watching starts, files of other kinds, old files and files that do not
// look like captures are never reported. Everything runs on the main thread.
class Waechter {
public:
    // Determines the capture folders from the screenshot tool's preferences.
    explicit Waechter(Plattform& plattform);
    Waechter(const Waechter&) = delete;
    Waechter& operator=(const Waechter&) = delete;

    // Called with the path of each new capture, inside the scan that recognised it.
    std::function<void(const std::string& pfad)> neu;
    // Called as soon as an image whose name begins like a capture's is complete (closed
    // after writing, or moved in whole), before any scan has judged it: a hint for work
    // that may begin early. Only `neu` reports a capture.
    std::function<void(const std::string& pfad)> vollstaendig;
    // Whether screen recordings count; asked each time a recording is examined.
    std::function<bool()> videosErlaubt = [] { return true; };

    // Takes the present files as seen and starts watching every folder. Once.
    void start();
    // One scan of every folder: each name not yet settled is examined. The folder
    // events schedule it; benchmarks time it.
    void pruefen();

    // The main capture folder, and every folder watched (the main one first).
    std::string ordner;
    std::vector<std::string> alleOrdner;
    // Which files are captures (extensions `bilder`, `videos` and name beginnings).
    Aufnahmearten arten;
    // Settled files (reported or passed over): never examined again.
    std::unordered_set<std::string> gesehen;
    // The last observed size of each recording that is still growing.
    std::unordered_map<std::string, Beobachtung> groessen;
    // The event source of each watched folder.
    std::map<std::string, Marke> quellen;

private:
    struct Treffer {
        std::chrono::system_clock::time_point zeit;
        std::string name;
        std::string pfad;
    };

    bool beobachte(const std::string& ordner);
    void pruefeDatei(const std::string& name, const std::string& pfad, std::vector<Treffer>& treffer);
    void ereignis(const std::string& ordner, const OrdnerEreignis& e);
    void planePruefungen();
    void planePruefung(double sekunden);
    void setze(const std::string& pfad);
    // A folder that does not exist (any more): watched for until it appears.
    void erwarte(const std::string& ordner);
    bool nimmAuf(const std::string& ordner);

    Plattform& plattform_;
    // What the folder events told of files not yet settled.
    std::unordered_set<std::string> fertig_;  // closed after writing, or moved in whole
    std::unordered_set<std::string> offen_;   // created in place, not yet closed
    // The last observed size of images whose completeness is not yet known.
    std::unordered_map<std::string, Beobachtung> bildStaende_;
    // Scheduled scans by number, with their due time.
    struct Geplant {
        double faellig;
        Marke marke;
    };
    std::map<std::uint64_t, Geplant> geplant_;
    std::uint64_t naechsteNummer_ = 0;
    struct Erwartung {
        std::string vorfahr;
        Marke quelle;
        Marke uhr;
    };
    std::map<std::string, Erwartung> erwartet_;
    std::vector<DateiEintrag> puffer_;
};

}  // namespace klebwerk
