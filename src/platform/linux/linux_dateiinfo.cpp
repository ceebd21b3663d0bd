#include "platform/linux/linux_dateiinfo.h"

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <unistd.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace klebwerk::linuxdesk {
namespace {

std::chrono::system_clock::time_point zeit(const statx_timestamp& t) {
    return std::chrono::system_clock::time_point(std::chrono::duration_cast<std::chrono::system_clock::duration>(
        std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec)));
}

}  // namespace

bool LinuxDateiinfo::liste(const std::string& ordner, std::vector<DateiEintrag>& eintraege, std::string& fehler) {
    int dfd = ::open(ordner.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0) {
        eintraege.clear();
        fehler = std::strerror(errno);
        return false;
    }
    // Large reads: a folder of ten thousand entries takes a handful of calls. The entries
    // already in the vector are overwritten in place, so a repeated listing of the same
    // folder reuses their names' storage instead of allocating each name anew.
    if (!puffer_) puffer_ = std::make_unique<char[]>(pufferGroesse);
    size_t anzahl = 0;
    int lesefehler = 0;
    for (;;) {
        ssize_t gelesen = ::getdents64(dfd, puffer_.get(), pufferGroesse);
        if (gelesen == 0) break;
        if (gelesen < 0) {
            if (errno == EINTR) continue;
            lesefehler = errno;
            break;
        }
        for (ssize_t pos = 0; pos < gelesen;) {
            const auto* e = reinterpret_cast<const dirent64*>(puffer_.get() + pos);
            pos += e->d_reclen;
            const char* n = e->d_name;
            if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
            unsigned char typ = e->d_type;
            if (typ == DT_UNKNOWN) {
                struct stat st{};
                if (::fstatat(dfd, n, &st, AT_SYMLINK_NOFOLLOW) == 0) {
                    typ = S_ISREG(st.st_mode)   ? DT_REG
                          : S_ISDIR(st.st_mode) ? DT_DIR
                          : S_ISLNK(st.st_mode) ? DT_LNK
                                                : DT_UNKNOWN;
                }
            }
            if (anzahl == eintraege.size()) eintraege.emplace_back();
            DateiEintrag& eintrag = eintraege[anzahl++];
            eintrag.name.assign(n);
            eintrag.regulaer = typ == DT_REG;
            eintrag.ordner = typ == DT_DIR;
            eintrag.verweis = typ == DT_LNK;
        }
    }
    ::close(dfd);
    if (lesefehler != 0) {
        eintraege.clear();
        fehler = std::strerror(lesefehler);
        return false;
    }
    eintraege.resize(anzahl);
    return true;
}

std::optional<DateiStand> LinuxDateiinfo::stand(const std::string& pfad) {
    struct statx sx{};
    if (::statx(AT_FDCWD, pfad.c_str(), AT_SYMLINK_NOFOLLOW | AT_STATX_SYNC_AS_STAT,
                STATX_TYPE | STATX_SIZE | STATX_MTIME | STATX_BTIME, &sx) != 0) {
        return std::nullopt;
    }
    DateiStand s;
    s.groesse = static_cast<std::int64_t>(sx.stx_size);
    s.geaendert = zeit(sx.stx_mtime);
    if (sx.stx_mask & STATX_BTIME) s.entstanden = zeit(sx.stx_btime);
    s.regulaer = S_ISREG(sx.stx_mode);
    s.ordner = S_ISDIR(sx.stx_mode);
    s.verweis = S_ISLNK(sx.stx_mode);
    return s;
}

std::optional<std::string> LinuxDateiinfo::attribut(const std::string& pfad, const std::string& name) {
    std::string voll = "user." + name;
    for (int versuch = 0; versuch < 3; ++versuch) {
        ssize_t n = ::lgetxattr(pfad.c_str(), voll.c_str(), nullptr, 0);
        if (n < 0) return std::nullopt;
        std::string wert(static_cast<size_t>(n), '\0');
        if (n == 0) return wert;
        ssize_t m = ::lgetxattr(pfad.c_str(), voll.c_str(), wert.data(), wert.size());
        if (m >= 0) {
            wert.resize(static_cast<size_t>(m));
            return wert;
        }
        if (errno != ERANGE) return std::nullopt;  // ERANGE: it grew meanwhile, ask again
    }
    return std::nullopt;
}

}  // namespace klebwerk::linuxdesk
