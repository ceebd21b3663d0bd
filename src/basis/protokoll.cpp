#include "basis/protokoll.h"

#include <cstdio>
#include <ctime>
#include <mutex>

#include <fcntl.h>
#include <unistd.h>

#include "basis/einzeilig.h"
#include "basis/prozesswerte.h"

namespace klebwerk {

std::string protokollZeile(std::chrono::system_clock::time_point zeit, std::string_view text) {
    std::time_t sekunden = std::chrono::system_clock::to_time_t(zeit);
    std::tm ortszeit{};
    localtime_r(&sekunden, &ortszeit);
    char stempel[32];
    std::strftime(stempel, sizeof stempel, "%Y-%m-%d %H:%M:%S", &ortszeit);
    // A line built from outside text (a page title, a file name) stays bounded.
    std::string kurz;
    if (text.size() > hoechsteProtokollZeile) {
        kurz = gekuerzt(std::string(text.substr(0, hoechsteProtokollZeile + 4)), hoechsteProtokollZeile);
        text = kurz;
    }
    std::string zeile;
    zeile.reserve(text.size() + 21);
    zeile.append(stempel).append(" ");
    haengeMaskiertAn(zeile, text, false);
    zeile.append("\n");
    return zeile;
}

void haengeMaskiertAn(std::string& ziel, std::string_view text, bool anfuehrung) {
    for (unsigned char c : text) {
        switch (c) {
            case '"': ziel += anfuehrung ? "\\\"" : "\""; break;
            case '\\': ziel += anfuehrung ? "\\\\" : "\\"; break;
            case '\n': ziel += "\\n"; break;
            case '\r': ziel += "\\r"; break;
            case '\t': ziel += "\\t"; break;
            default:
                if (c < 0x20 || c == 0x7f) {
                    char code[12];
                    std::snprintf(code, sizeof code, "\\u{%x}", c);
                    ziel += code;
                } else {
                    ziel += static_cast<char>(c);
                }
        }
    }
}

void protokoll(std::string_view text) {
    std::string zeile = protokollZeile(std::chrono::system_clock::now(), text);
    // One write() of an O_APPEND file per line, under a lock: lines of two threads
    // never interleave, and a second process appending keeps whole lines too.
    static std::mutex sperre;
    std::lock_guard lock(sperre);
    std::string pfad = datenOrdner() + "/log.txt";
    // Not blocking: a named pipe in the file's place would otherwise hold every caller
    // until someone reads it (a regular file is not affected).
    int fd = ::open(pfad.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0600);
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
