#include "platform/wayland/sway_eigene_fenster.h"

#include <unistd.h>

#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWidget>
#include <QWindow>

#include "basis/protokoll.h"
#include "platform/wayland/sway_baum.h"

namespace klebwerk::wayland {

namespace {

struct Gesehen {
    std::int64_t conId = 0;
    int pid = 0;
    std::string titel;
};

// The window a window event tells of when it is new or has a new title: sway tells
// of a new window before it has taken the window's title, so the title's own event
// comes after.
std::optional<Gesehen> neuesFenster(const std::string& daten) {
    const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(daten)).object();
    const QString art = o.value("change").toString();
    if (art != "new" && art != "title") return std::nullopt;
    const QJsonObject c = o.value("container").toObject();
    return Gesehen{c.value("id").toInteger(), c.value("pid").toInt(), c.value("name").toString().toStdString()};
}

// Makes the window floating and sticky, without sway's border (then the container's
// area is the window's own), with the place and size the program gave it: sway may
// have laid it out as a tiled window in between.
void setze(const SwayIpc& ipc, double frist, std::int64_t conId, const std::string& titel, QRect r) {
    const std::string befehl = "[con_id=" + std::to_string(conId) + "] floating enable, sticky enable, border none, " +
                               "resize set width " + std::to_string(r.width()) + " px height " +
                               std::to_string(r.height()) + " px, move absolute position " + std::to_string(r.x()) +
                               " " + std::to_string(r.y());
    IpcAntwort antwort = ipc.anfrage(IpcArt::befehl, befehl, frist);
    std::string fehler = antwort.fehler;
    if (!antwort.gelungen() || !befehlGelungen(*antwort.daten, fehler))
        protokoll("own window \"" + titel + "\" not made floating: " + fehler);
}

// The type of workspace events; one with the change "reload" follows a reload of the
// config, which drops the rules added at run time.
constexpr std::uint32_t arbeitsflaechenEreignisArt = 0x80000000;

// A rule for every window of this process: floating, sticky and without sway's border
// from the moment sway maps it. Made floating only after sway has shown it, a window
// would first take a tile and squeeze the user's windows for a moment (a frame shown
// under the pointer while the user clicks there), and windows that are never placed
// through `schwebend` (the frame and the hint) would stay tiled.
void setzeRegel(const SwayIpc& ipc, double frist, int pid) {
    const std::string befehl =
        "for_window [pid=" + std::to_string(pid) + "] floating enable, sticky enable, border none";
    IpcAntwort antwort = ipc.anfrage(IpcArt::befehl, befehl, frist);
    std::string fehler = antwort.fehler;
    if (!antwort.gelungen() || !befehlGelungen(*antwort.daten, fehler))
        protokoll("own windows: no floating rule in sway: " + fehler);
}

}  // namespace

SwayEigeneFenster::SwayEigeneFenster(SwayIpc ipc, Laufschleife& schleife, double frist)
    : ipc_(std::move(ipc)), schleife_(schleife), frist_(frist), eigenePid_(static_cast<int>(getpid())) {
    abo_ = std::make_unique<SwayAbo>(
        ipc_, std::vector<std::string>{"window", "workspace"},
        [this](std::uint32_t typ, const std::string& daten) { ereignis(typ, daten); },
        [](const std::string& grund) { protokoll("own windows: sway's window events ended: " + grund); });
    regel_ = schleife_.hintergrund([ipc = ipc_, frist = frist_, pid = eigenePid_] {
        setzeRegel(ipc, frist, pid);
        return Fortsetzung::fertig();
    });
}

SwayEigeneFenster::~SwayEigeneFenster() {
    abo_.reset();
    regel_.aufheben();
    suche_.aufheben();
}

bool SwayEigeneFenster::abonniert() const { return abo_ && abo_->bestaetigt(); }

void SwayEigeneFenster::schwebend(std::uint64_t fenster) {
    if (!gemeldet_) {
        gemeldet_ = true;
        protokoll("own windows on sway: floating and sticky through the IPC; they take the keyboard focus when "
                  "shown, and stay above only the tiled windows");
    }
    QWindow* qt = nullptr;
    for (QWindow* w : QGuiApplication::allWindows())
        if (w->handle() && static_cast<std::uint64_t>(w->winId()) == fenster) qt = w;
    if (!qt) {
        protokoll("own window " + std::to_string(fenster) + " is not a window of this program");
        return;
    }
    // Once a window has been shown, Qt's Wayland windows report their place as 0,0 and
    // drop the places asked for later; a widget keeps the place its program gave it.
    QRect rahmen = qt->geometry();
    if (QWidget* widget = QWidget::find(static_cast<WId>(fenster)); widget && widget->isWindow())
        rahmen = widget->geometry();
    Wunsch w{qt->title().toStdString(), rahmen};
    {
        // A window hidden before sway mapped it left its wish: the newer one counts.
        std::lock_guard lock(geteilt_->sperre);
        std::erase_if(geteilt_->wartend, [&](const Wunsch& alt) { return alt.titel == w.titel; });
        geteilt_->wartend.push_back(w);
    }
    // Mapped before the window events were subscribed: then the tree has it already.
    if (!abonniert()) suchImBaum();
}

// On the subscription's thread.
void SwayEigeneFenster::ereignis(std::uint32_t typ, const std::string& daten) {
    if (typ == arbeitsflaechenEreignisArt) {
        const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(daten)).object();
        if (o.value("change").toString() == "reload") setzeRegel(ipc_, frist_, eigenePid_);
        return;
    }
    if (typ != fensterEreignisArt) return;
    auto neu = neuesFenster(daten);
    if (!neu || neu->pid != eigenePid_) return;
    std::optional<Wunsch> wunsch;
    {
        std::lock_guard lock(geteilt_->sperre);
        auto& wartend = geteilt_->wartend;
        for (auto it = wartend.begin(); it != wartend.end(); ++it) {
            if (it->titel != neu->titel) continue;
            wunsch = *it;
            wartend.erase(it);
            break;
        }
    }
    if (wunsch) setze(ipc_, frist_, neu->conId, wunsch->titel, wunsch->rahmen);
}

void SwayEigeneFenster::suchImBaum() {
    std::weak_ptr<Geteilt> schwach = geteilt_;
    suche_ = schleife_.hintergrund([schwach, ipc = ipc_, frist = frist_, pid = eigenePid_] {
        auto g = schwach.lock();
        if (!g) return Fortsetzung::fertig();
        IpcAntwort antwort = ipc.anfrage(IpcArt::baum, {}, frist);
        auto fenster = antwort.gelungen() ? fensterAusBaum(*antwort.daten) : std::nullopt;
        if (!fenster) {
            protokoll("own windows: sway's tree unreadable: " + antwort.fehler);
            return Fortsetzung::fertig();
        }
        std::vector<std::pair<std::int64_t, Wunsch>> treffer;
        {
            std::lock_guard lock(g->sperre);
            for (const SwayFenster& f : *fenster) {
                if (f.pid != pid) continue;
                for (auto it = g->wartend.begin(); it != g->wartend.end(); ++it) {
                    if (it->titel != f.titel) continue;
                    treffer.emplace_back(f.conId, *it);
                    g->wartend.erase(it);
                    break;
                }
            }
        }
        for (const auto& [conId, w] : treffer) setze(ipc, frist, conId, w.titel, w.rahmen);
        return Fortsetzung::fertig();
    });
}

}  // namespace klebwerk::wayland
