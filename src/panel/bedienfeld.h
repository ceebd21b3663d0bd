#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QColor>
#include <QImage>
#include <QPointF>

#include "input/kuerzel_art.h"
#include "platform/geometrie.h"
#include "platform/marke.h"

class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace klebwerk {

class FeldPanel;
class FlugAnsicht;
class KappenKnopf;
class PunktAnsicht;
class Schalter;
class Steuerung;
class ZielZeile;
class Ziel;

// The floating control panel: whether pasting is on and where captures go, the main
// switches, the target list, the shortcut caps and the language; it shrinks to a
// breathing point. It reads all state from the controller and the settings and
// never takes the keyboard focus.
class Bedienfeld {
public:
    explicit Bedienfeld(Steuerung& s);
    ~Bedienfeld();
    Bedienfeld(const Bedienfeld&) = delete;
    Bedienfeld& operator=(const Bedienfeld&) = delete;

    // Brings every view in line with the controller's state; cheap when nothing changed.
    void aktualisiere();
    // The panel in front, or the point when shrunk.
    void zeige();
    void verstecke();
    // Fits the height to the content; the top edge stays.
    void passeGroesseAn();

    // --- button actions
    void schalteTon();
    void schliessen();
    void klappen();
    void kuerzelKlappen();
    void waehlen();
    void spracheWechseln();
    void systemKappeGedrueckt(KappenKnopf* kappe);
    void kappeGedrueckt(KappenKnopf* kappe);

    // --- the target list
    // Rebuilds the rows when the list's state text changed.
    void baueListe();
    // Moves the dragged row to the slot under the pointer (global screen coordinates).
    void verschiebe(ZielZeile& zeile, QPointF zeiger);
    // The rows as shown, top to bottom.
    std::vector<ZielZeile*> zeilenDerListe() const;

    // --- the point
    void zeigePunkt();
    void minimieren();
    void wiederherstellen();
    void punktDoppelklick();
    // A picture of the panel's content at the screen's scale; none when it cannot be made.
    std::optional<QImage> schnappschuss();
    // The picture flying between the panel's frame `von` and the point's disc `nach`
    // (top-left screen coordinates); `aufgehen` means growing. `fertig` runs once.
    void animiere(std::optional<QImage> bild, Rechteck von, Rechteck nach, bool aufgehen,
                  std::function<void()> fertig);

    // --- settings behind the panel
    bool listeOffen() const;
    void setzeListeOffen(bool wert);
    bool kuerzelOffen() const;
    void setzeKuerzelOffen(bool wert);
    bool mini() const;
    void setzeMini(bool wert);

    // --- pictures and state for the test commands
    // The panel's content at scale 2 with 20 points of grey around it.
    QImage feldBild();
    // The point at scale 4 on grey, 176×176 pixels.
    QImage punktBild();
    // "punkt sichtbar=… rahmen=… | feld sichtbar=… rahmen=… mini=…"
    std::string punktText() const;

    // The status colour of dot and point: none without permission or target.
    std::optional<QColor> statusFarbe() const;

    // --- the views, for the controller and tests
    Steuerung& s;
    std::unique_ptr<FeldPanel> panel;
    QWidget* inhalt = nullptr;       // the content view, rounded and dark
    QVBoxLayout* stapel = nullptr;   // all rows, top to bottom
    QWidget* punkt = nullptr;        // the 8×8 status dot of the header
    QLabel* zielText = nullptr;
    QPushButton* pfeil = nullptr;
    QWidget* listenFlaeche = nullptr;  // the target list's view
    QVBoxLayout* liste = nullptr;      // its rows, then the add button
    QPushButton* hinzufuegenKnopf = nullptr;
    std::string listenStand;
    bool zieht = false;
    std::map<KuerzelArt, KappenKnopf*> kappen;
    std::vector<std::pair<int, KappenKnopf*>> systemKappen;
    std::map<std::string, std::pair<QWidget*, Schalter*>> zeilen;
    QPushButton* kuerzelPfeil = nullptr;
    std::vector<QWidget*> kuerzelZeilen;
    KappenKnopf* sprachKappe = nullptr;
    std::unique_ptr<FeldPanel> punktFenster;
    QPushButton* tonKnopf = nullptr;
    bool animiert = false;
    PunktAnsicht* punktAnsicht = nullptr;
    // How often the list's rows were built (for tests and the benchmark).
    int listenAufbauten = 0;

private:
    // Alive as long as the panel: callbacks of views and timers check it.
    std::shared_ptr<int> leben_ = std::make_shared<int>(0);
    // The overlay window of a running shrink or grow animation.
    std::unique_ptr<QWidget> flug_;
    // The views of the header and rows that only the panel itself touches, the spacing
    // after each row, and what the last refresh applied.
    struct Teile;
    std::unique_ptr<Teile> teile_;
    // Where the list's hover outlines a row's window, while it does. Only this outline
    // goes when the rows change: the frame of a choice just made stays.
    std::optional<Rechteck> listenUmriss_;
    void nimmListenUmrissWeg();
    // The row's callbacks, holding the panel and the target weakly.
    void verdrahte(ZielZeile& zeile, const std::shared_ptr<Ziel>& ziel);
    // The add button in its inset holder, made on first use.
    QWidget* hinzufuegenFach();

    // The point window's place: where it was stored (kept on a screen), else beside
    // the panel's top-left corner.
    Rechteck punktStandort() const;
    // The point's shape and what a drag that came to rest does.
    void richtePunktEin();
    // Whether the point window has been placed in this run.
    bool punktPlatziert_ = false;
    FlugAnsicht* flugAnsicht_ = nullptr;
    Marke flugFertig_;
    Marke flugEnde_;
};

// The list's state text: per connected target its identity, name and whether it is
// the active one; equal texts mean an equal list.
std::string listenStandVon(const Steuerung& s);

}  // namespace klebwerk
