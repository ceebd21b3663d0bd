#include "platform/linux/pulse_klangspieler.h"

#include <atomic>
#include <deque>
#include <algorithm>
#include <set>
#include <string>
#include <string_view>

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/proplist.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include "basis/protokoll.h"
#include "platform/linux/wav_lesen.h"

namespace klebwerk::linuxdesk {
namespace {

// Sounds kept while the connection is being made; older ones beyond this are dropped.
constexpr std::size_t hoechstensWartend = 16;

struct Wiedergabe {
    PulseKlangspieler::Zustand* zustand = nullptr;
    pa_stream* strom = nullptr;
    std::string bytes;  // the WAV file; `rest` points into it
    std::string_view rest;
    bool leert = false;
};

}  // namespace

// Everything here is touched with the sound thread's lock held: by its callbacks,
// which run on that thread, and by the calls from outside, which take the lock.
struct PulseKlangspieler::Zustand {
    pa_threaded_mainloop* schleife = nullptr;
    pa_context* kontext = nullptr;
    std::deque<std::string> wartend;
    std::set<Wiedergabe*> laufend;
    std::atomic<bool> gemeldet{false};

    void melde(const std::string& grund) {
        if (!gemeldet.exchange(true)) protokoll("Töne stumm: " + grund);
    }

    void verbinde();
    void starte(std::string bytes);
    static void beende(Wiedergabe* w);
};

namespace {

void kontextZustand(pa_context* c, void* daten) {
    auto* z = static_cast<PulseKlangspieler::Zustand*>(daten);
    switch (pa_context_get_state(c)) {
        case PA_CONTEXT_READY: {
            std::deque<std::string> wartend;
            wartend.swap(z->wartend);
            for (std::string& bytes : wartend) z->starte(std::move(bytes));
            break;
        }
        case PA_CONTEXT_FAILED:
            z->melde(std::string("kein Tonserver erreichbar (") + pa_strerror(pa_context_errno(c)) + ")");
            z->wartend.clear();
            break;
        default: break;
    }
}

void schreibe(pa_stream* s, size_t frei, void* daten) {
    auto* w = static_cast<Wiedergabe*>(daten);
    if (w->leert) return;
    const size_t n = std::min(frei, w->rest.size());
    // Without a free function the library copies the bytes.
    if (n > 0 && pa_stream_write(s, w->rest.data(), n, nullptr, 0, PA_SEEK_RELATIVE) < 0) {
        PulseKlangspieler::Zustand::beende(w);
        return;
    }
    w->rest.remove_prefix(n);
    if (!w->rest.empty()) return;
    // All written: draining starts the playback even below the prebuffer and reports
    // when the last sample has been played.
    w->leert = true;
    pa_operation* op = pa_stream_drain(
        s, [](pa_stream*, int, void* d) { PulseKlangspieler::Zustand::beende(static_cast<Wiedergabe*>(d)); }, w);
    if (op) pa_operation_unref(op);
    else PulseKlangspieler::Zustand::beende(w);
}

void stromZustand(pa_stream* s, void* daten) {
    auto* w = static_cast<Wiedergabe*>(daten);
    if (pa_stream_get_state(s) == PA_STREAM_FAILED) {
        w->zustand->melde(std::string("keine Tonausgabe (") +
                          pa_strerror(pa_context_errno(pa_stream_get_context(s))) + ")");
        PulseKlangspieler::Zustand::beende(w);
    }
}

}  // namespace

void PulseKlangspieler::Zustand::verbinde() {
    if (kontext) {
        pa_context_state_t s = pa_context_get_state(kontext);
        if (s != PA_CONTEXT_FAILED && s != PA_CONTEXT_TERMINATED) return;
        pa_context_set_state_callback(kontext, nullptr, nullptr);
        pa_context_unref(kontext);
        kontext = nullptr;
    }
    pa_proplist* eigenschaften = pa_proplist_new();
    pa_proplist_sets(eigenschaften, PA_PROP_APPLICATION_NAME, "Klebwerk");
    pa_proplist_sets(eigenschaften, PA_PROP_APPLICATION_ID, "de.quenmoral.klebwerk");
    kontext = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(schleife), "Klebwerk", eigenschaften);
    pa_proplist_free(eigenschaften);
    if (!kontext) {
        melde("die Tonbibliothek gab keine Verbindung her");
        return;
    }
    pa_context_set_state_callback(kontext, kontextZustand, this);
    // The server named by the environment or the client configuration; none is started.
    if (pa_context_connect(kontext, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        melde(std::string("kein Tonserver erreichbar (") + pa_strerror(pa_context_errno(kontext)) + ")");
}

void PulseKlangspieler::Zustand::starte(std::string bytes) {
    auto inhalt = leseWav(bytes);
    if (!inhalt || inhalt->proben.empty()) return;
    pa_sample_spec format{PA_SAMPLE_S16LE, inhalt->rate, inhalt->kanaele};
    pa_proplist* eigenschaften = pa_proplist_new();
    pa_proplist_sets(eigenschaften, PA_PROP_MEDIA_ROLE, "event");
    pa_stream* strom = pa_stream_new_with_proplist(kontext, "Klebwerk-Ton", &format, nullptr, eigenschaften);
    pa_proplist_free(eigenschaften);
    if (!strom) return;
    auto* w = new Wiedergabe{this, strom, std::move(bytes), {}, false};
    // The samples, found again in the bytes now that they have moved.
    w->rest = leseWav(w->bytes)->proben;
    laufend.insert(w);
    pa_stream_set_state_callback(strom, stromZustand, w);
    pa_stream_set_write_callback(strom, schreibe, w);
    if (pa_stream_connect_playback(strom, nullptr, nullptr, PA_STREAM_NOFLAGS, nullptr, nullptr) < 0) {
        melde(std::string("keine Tonausgabe (") + pa_strerror(pa_context_errno(kontext)) + ")");
        beende(w);
    }
}

void PulseKlangspieler::Zustand::beende(Wiedergabe* w) {
    pa_stream_set_state_callback(w->strom, nullptr, nullptr);
    pa_stream_set_write_callback(w->strom, nullptr, nullptr);
    pa_stream_disconnect(w->strom);
    pa_stream_unref(w->strom);
    w->zustand->laufend.erase(w);
    delete w;
}

PulseKlangspieler::PulseKlangspieler() : z_(std::make_unique<Zustand>()) {}

PulseKlangspieler::~PulseKlangspieler() {
    if (!z_->schleife) return;
    // The sound thread ends first; then nothing of the library runs any more, and the
    // connection and the sounds still playing go without a callback racing them.
    pa_threaded_mainloop_stop(z_->schleife);
    if (z_->kontext) {
        pa_context_set_state_callback(z_->kontext, nullptr, nullptr);
        pa_context_disconnect(z_->kontext);
    }
    while (!z_->laufend.empty()) Zustand::beende(*z_->laufend.begin());
    if (z_->kontext) pa_context_unref(z_->kontext);
    pa_threaded_mainloop_free(z_->schleife);
}

void PulseKlangspieler::spiele(const std::string& wav) {
    if (!leseWav(wav)) return;
    if (!z_->schleife) {
        z_->schleife = pa_threaded_mainloop_new();
        if (!z_->schleife || pa_threaded_mainloop_start(z_->schleife) < 0) {
            if (z_->schleife) pa_threaded_mainloop_free(z_->schleife);
            z_->schleife = nullptr;
            z_->melde("die Tonbibliothek startete nicht");
            return;
        }
    }
    pa_threaded_mainloop_lock(z_->schleife);
    z_->verbinde();
    if (z_->kontext && pa_context_get_state(z_->kontext) == PA_CONTEXT_READY) {
        z_->starte(wav);
    } else if (z_->kontext && PA_CONTEXT_IS_GOOD(pa_context_get_state(z_->kontext))) {
        if (z_->wartend.size() >= hoechstensWartend) z_->wartend.pop_front();
        z_->wartend.push_back(wav);
    }
    pa_threaded_mainloop_unlock(z_->schleife);
}

std::size_t PulseKlangspieler::laufende() const {
    if (!z_->schleife) return 0;
    pa_threaded_mainloop_lock(z_->schleife);
    std::size_t n = z_->laufend.size() + z_->wartend.size();
    pa_threaded_mainloop_unlock(z_->schleife);
    return n;
}

}  // namespace klebwerk::linuxdesk
