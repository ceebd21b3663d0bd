// Recording the dictation and send shortcuts: the kuerzel mode hands every key press
// here, which stores and registers a combination, clears it with ⌫, or cancels with
// Escape.

#include "basis/protokoll.h"
#include "app/sprache.h"
#include "app/steuerung.h"
#include "input/abgriff_regel.h"
#include "input/kuerzel_anzeige.h"

namespace klebwerk {

namespace {
constexpr std::uint16_t tasteLoeschen = 51;     // ⌫
constexpr std::uint16_t tasteEntfernen = 117;   // forward delete
// ⌘, ⌥ or ⌃: one of them makes a combination a shortcut (⇧ alone does not).
constexpr std::uint64_t kombinierend = flagge::befehl | flagge::option | flagge::control;
}  // namespace

void Steuerung::kuerzelAufnehmen(KuerzelArt art) {
    if (!vertraut) {
        oeffneFreigabe();
        return;
    }
    if (modus != Modus::keiner) beendeModus();
    if (!starteTap(false, Modus::kuerzel)) return;
    modus = Modus::kuerzel;
    kuerzelLernen = art;
    const std::string titel = kuerzelTitel(art);
    hinweis.zeige(L("Kürzel für „" + titel + "“ drücken  ·  esc bricht ab  ·  ⌫ löscht",
                    "Press shortcut for “" + titel + "”  ·  esc cancels  ·  ⌫ clears"),
                  std::nullopt);
    schreibeStatus();
}

void Steuerung::kuerzelTaste(std::uint16_t code, std::uint64_t flaggen, const AbgriffEreignis&) {
    if (!kuerzelLernen) {
        beendeModus();
        return;
    }
    const KuerzelArt art = *kuerzelLernen;
    const std::string titel = kuerzelTitel(art);
    const std::string schluessel = kuerzelSchluessel(art);

    if (code == tasteLoeschen || code == tasteEntfernen) {
        ud.entferne(schluessel);
        meldeKuerzelAn(art);
        beendeModus();
        kuerzelLernen.reset();
        hinweis.zeige(L("Kürzel für „" + titel + "“ gelöscht", "Shortcut for “" + titel + "” cleared"), 1.8);
        schreibeStatus();
        return;
    }
    if (code == tasteEscape) {
        beendeModus();
        kuerzelLernen.reset();
        schreibeStatus();
        return;
    }
    // A key this keyboard has no virtual key code for cannot become a hot key.
    if (code > hoechsterTastenCode) return;
    if (!(flaggen & kombinierend) && !istFunktionstaste(code)) {
        hinweis.zeige(L("Bitte mit ⌃, ⌥ oder ⌘ kombinieren  ·  esc bricht ab",
                        "Please combine with ⌃, ⌥ or ⌘  ·  esc cancels"),
                      std::nullopt);
        return;
    }

    const std::uint32_t mods = carbonMaske(flaggen);
    const std::string text = kuerzelAnzeige(code, flaggen & modifikatorMaske, plattform.eingabe);
    const KuerzelArt andere = art == KuerzelArt::diktat ? KuerzelArt::senden : KuerzelArt::diktat;
    const auto andersBelegt = kuerzel(andere);
    if ((code == tasteS && mods == (carbon::control | carbon::option)) ||
        (andersBelegt && andersBelegt->code == code && andersBelegt->mods == mods)) {
        hinweis.zeige(L(text + " ist schon in dieser App belegt – andere Kombination drücken",
                        text + " is already used in this app – press another combination"),
                      std::nullopt);
        return;
    }

    const QJsonValue vorher = ud.wert(schluessel);
    ud.setze(schluessel, speicherform(Kuerzel{code, mods, text}));
    if (meldeKuerzelAn(art) == 0) {
        beendeModus();
        kuerzelLernen.reset();
        hinweis.zeige("✓ " + titel + ": " + text, 2.0);
        schreibeStatus();
        return;
    }
    // Another program holds the combination: the previous shortcut comes back.
    if (vorher.isUndefined()) ud.entferne(schluessel);
    else ud.setze(schluessel, vorher);
    meldeKuerzelAn(art);
    hinweis.zeige(L(text + " ist von einem anderen Programm belegt – andere Kombination drücken",
                    text + " is used by another app – press another combination"),
                  std::nullopt);
}

}  // namespace klebwerk
