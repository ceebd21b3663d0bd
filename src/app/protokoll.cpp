#include "app/protokoll.h"

#include <ctime>
#include <mutex>

#include <fcntl.h>
#include <unistd.h>

#include "app/prozesswerte.h"

namespace klebwerk {

std::string protokollZeile(std::chrono::system_clock::time_point zeit, std::string_view text) {
    std::time_t sekunden = std::chrono::system_clock::to_time_t(zeit);
    std::tm ortszeit{};
    localtime_r(&sekunden, &ortszeit);
    char stempel[32];
    std::strftime(stempel, sizeof stempel, "%Y-%m-%d %H:%M:%S", &ortszeit);
    std::string zeile;
    zeile.reserve(text.size() + 21);
    zeile.append(stempel).append(" ").append(text).append("\n");
    return zeile;
}

void protokoll(std::string_view text) {
    std::string zeile = protokollZeile(std::chrono::system_clock::now(), text);
    // One write() of an O_APPEND file per line, under a lock: lines of two threads
    // never interleave, and a second process appending keeps whole lines too.
    static std::mutex sperre;
    std::lock_guard lock(sperre);
    std::string pfad = datenOrdner() + "/log.txt";
    int fd = ::open(pfad.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;
    const char* rest = zeile.data();
    size_t offen = zeile.size();
    while (offen > 0) {
        ssize_t geschrieben = ::write(fd, rest, offen);
        if (geschrieben <= 0) break;
        rest += geschrieben;
        offen -= static_cast<size_t>(geschrieben);
    }
    ::close(fd);
}

}  // namespace klebwerk
