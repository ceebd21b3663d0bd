#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/klangspieler.h"

namespace klebwerk::linuxdesk {

// Plays WAV data through the desktop's sound server (PulseAudio, or PipeWire's
// PulseAudio interface), from memory and on the sound library's own thread: each sound
// is a stream of its own, so sounds overlap and none cuts another off. Connects on the
// first sound (never starting a server itself) and again on a later one after a
// failure. Without a server or an output the sounds are dropped and one log line says
// so, once per process.
class PulseKlangspieler : public Klangspieler {
public:
    PulseKlangspieler();
    ~PulseKlangspieler() override;
    PulseKlangspieler(const PulseKlangspieler&) = delete;
    PulseKlangspieler& operator=(const PulseKlangspieler&) = delete;

    void spiele(const std::string& wav) override;

    // Sounds started and not yet finished (waiting for the connection, or playing).
    std::size_t laufende() const;

    struct Zustand;

private:
    std::unique_ptr<Zustand> z_;
};

}  // namespace klebwerk::linuxdesk
