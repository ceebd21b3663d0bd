#include "platform/wayland/sway_tastenkuerzel.h"

#include <algorithm>

#include <QJsonDocument>
#include <QJsonObject>

#include "basis/protokoll.h"
#include "platform/wayland/sway_baum.h"
#include "platform/wayland/sway_kombination.h"

namespace klebwerk::wayland {

namespace {

// The type of workspace events; one with the change "reload" follows a reload of the
// config, which drops every binding added at run time.
constexpr std::uint32_t arbeitsflaechenEreignisArt = 0x80000000;

enum class Belegung { frei, belegt, unbekannt };

// Whether the config that sway loaded binds the combination; `unbekannt` with the
// reason when the config could not be read.
Belegung belegungInKonfiguration(const SwayIpc& ipc, const std::string& kombination, double frist,
                                 std::string& fehler) {
    auto gesucht = leseKombination(kombination);
    if (!gesucht) {
        fehler = "sway cannot name the combination " + kombination;
        return Belegung::unbekannt;
    }
    IpcAntwort antwort = ipc.anfrage(IpcArt::konfiguration, {}, frist);
    if (!antwort.gelungen()) {
        fehler = antwort.fehler;
        return Belegung::unbekannt;
    }
    const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(*antwort.daten)).object();
    if (!o.value("config").isString()) {
        fehler = "sway's config was unreadable";
        return Belegung::unbekannt;
    }
    const auto gebunden = gebundeneKombinationen(o.value("config").toString().toStdString());
    return std::find(gebunden.begin(), gebunden.end(), *gesucht) != gebunden.end() ? Belegung::belegt
                                                                                     : Belegung::frei;
}

}  // namespace

SwayTastenkuerzel::SwayTastenkuerzel(SwayIpc ipc, Laufschleife& schleife, double frist)
    : ipc_(std::move(ipc)), schleife_(schleife), frist_(frist) {
    abo_ = std::make_unique<SwayAbo>(
        ipc_, std::vector<std::string>{"binding", "workspace"},
        [this](std::uint32_t typ, const std::string& daten) { ereignis(typ, daten); },
        [](const std::string& grund) { protokoll("hot keys: sway's events ended: " + grund); });
}

SwayTastenkuerzel::~SwayTastenkuerzel() {
    abo_.reset();
    std::lock_guard lock(geteilt_->sperre);
    for (const auto& [id, kombination] : geteilt_->bindungen) {
        std::string fehler;
        if (!fuehreAus("unbindsym " + kombination, fehler))
            protokoll("hot key " + kombination + " stays bound in sway: " + fehler);
    }
    geteilt_->bindungen.clear();
}

std::string SwayTastenkuerzel::befehl(std::uint32_t id) { return "nop klebwerk-kuerzel-" + std::to_string(id); }

bool SwayTastenkuerzel::fuehreAus(const std::string& befehl, std::string& fehler) const {
    IpcAntwort antwort = ipc_.anfrage(IpcArt::befehl, befehl, frist_);
    if (!antwort.gelungen()) {
        fehler = antwort.fehler;
        return false;
    }
    return befehlGelungen(*antwort.daten, fehler);
}

int SwayTastenkuerzel::registriere(std::uint32_t id, std::uint16_t code, std::uint32_t modifikatoren) {
    std::lock_guard lock(geteilt_->sperre);
    auto& bindungen = geteilt_->bindungen;
    std::string fehler;
    if (auto alt = bindungen.find(id); alt != bindungen.end()) {
        if (!fuehreAus("unbindsym " + alt->second, fehler)) protokoll("unbinding " + alt->second + ": " + fehler);
        bindungen.erase(alt);
    }
    auto kombination = swayKombinationstext(code, modifikatoren);
    if (!kombination) return unbekannt;
    auto gleich = leseKombination(*kombination);
    for (const auto& [andereId, andere] : bindungen)
        if (leseKombination(andere) == gleich) return vergeben;
    switch (belegungInKonfiguration(ipc_, *kombination, frist_, fehler)) {
        case Belegung::belegt: return vergeben;
        case Belegung::unbekannt:
            protokoll("hot key " + *kombination + ": " + fehler);
            return keineAntwort;
        case Belegung::frei: break;
    }
    if (!fuehreAus("bindsym --no-repeat " + *kombination + " " + befehl(id), fehler)) {
        protokoll("binding hot key " + *kombination + ": " + fehler);
        return keineAntwort;
    }
    bindungen[id] = *kombination;
    return 0;
}

void SwayTastenkuerzel::entferne(std::uint32_t id) {
    std::lock_guard lock(geteilt_->sperre);
    auto it = geteilt_->bindungen.find(id);
    if (it == geteilt_->bindungen.end()) return;
    std::string fehler;
    if (!fuehreAus("unbindsym " + it->second, fehler)) protokoll("unbinding " + it->second + ": " + fehler);
    geteilt_->bindungen.erase(it);
}

void SwayTastenkuerzel::beiDruck(std::function<void(std::uint32_t id)> handler) {
    std::lock_guard lock(geteilt_->sperre);
    geteilt_->handler = std::move(handler);
}

bool SwayTastenkuerzel::abonniert() const { return abo_ && abo_->bestaetigt(); }

// On the subscription's thread.
void SwayTastenkuerzel::ereignis(std::uint32_t typ, const std::string& daten) {
    const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(daten)).object();
    if (typ == arbeitsflaechenEreignisArt) {
        if (o.value("change").toString() == "reload") bindeNeu();
        return;
    }
    if (typ != bindungsEreignisArt) return;
    const std::string lief = o.value("binding").toObject().value("command").toString().toStdString();
    std::optional<std::uint32_t> id;
    {
        std::lock_guard lock(geteilt_->sperre);
        for (const auto& [nummer, kombination] : geteilt_->bindungen)
            if (lief == befehl(nummer)) id = nummer;
    }
    if (!id) return;
    std::weak_ptr<Geteilt> schwach = geteilt_;
    schleife_.aufHaupt([schwach, nummer = *id] {
        auto g = schwach.lock();
        if (!g) return;
        std::function<void(std::uint32_t)> h;
        {
            std::lock_guard lock(g->sperre);
            // Removed while the press was on its way.
            if (!g->bindungen.count(nummer)) return;
            h = g->handler;
        }
        if (h) h(nummer);
    });
}

// On the subscription's thread: a reload left only the config's bindings; each hot key
// is bound again unless the config now binds its combination.
void SwayTastenkuerzel::bindeNeu() {
    std::lock_guard lock(geteilt_->sperre);
    for (auto it = geteilt_->bindungen.begin(); it != geteilt_->bindungen.end();) {
        std::string fehler;
        const Belegung b = belegungInKonfiguration(ipc_, it->second, frist_, fehler);
        if (b == Belegung::frei && fuehreAus("bindsym --no-repeat " + it->second + " " + befehl(it->first), fehler)) {
            ++it;
            continue;
        }
        protokoll("hot key " + it->second + " lost with sway's reload: " +
                  (b == Belegung::belegt ? std::string("the config binds it now") : fehler));
        it = geteilt_->bindungen.erase(it);
    }
}

}  // namespace klebwerk::wayland
