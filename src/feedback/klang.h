#pragma once

#include <map>
#include <string>

#include "app/einstellungen.h"
#include "feedback/klang_art.h"
#include "feedback/klang_synthese.h"
#include "platform/klangspieler.h"

namespace klebwerk {

// The interface sounds: each one synthesised on first use, its WAV bytes kept for the
// life of the process (so that its noise burst sounds the same every time), and handed
// to the platform's sound player, which plays them without waiting; sounds may overlap.
class Klang {
public:
    Klang(Klangspieler& spieler, Einstellungen& ud, Zufall zufall = systemZufall());

    // The setting "toene": true when missing or not a Boolean.
    bool an() const;
    void setzeAn(bool wert);

    // Plays `art`, unless sounds are off and `auchWennAus` is false.
    void spiele(KlangArt art, bool auchWennAus = false);

    // Writes every sound, freshly synthesised, as "klang-<name>.wav" into `ordner`;
    // a file that cannot be written is left out.
    void speichere(const std::string& ordner);

    // The WAV bytes of one sound, synthesised anew (the cache is not touched).
    std::string erzeuge(KlangArt art) const;

    // The kept bytes of `art`, synthesised now if not yet.
    const std::string& daten(KlangArt art);
    // How many kinds have been synthesised and kept so far.
    size_t gespeicherteArten() const { return daten_.size(); }

private:
    Klangspieler& spieler_;
    Einstellungen& ud_;
    Zufall zufall_;
    std::map<KlangArt, std::string> daten_;
};

}  // namespace klebwerk
