#include "platform/x11/linux_dateiinfo.h"

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace klebwerk::x11 {
namespace {

std::chrono::system_clock::time_point zeit(const statx_timestamp& t) {
    return std::chrono::system_clock::time_point(std::chrono::duration_cast<std::chrono::system_clock::duration>(
        std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec)));
}

}  // namespace

bool LinuxDateiinfo::liste(const std::string& ordner, std::vector<DateiEintrag>& eintraege, std::string& fehler) {
    eintraege.clear();
    DIR* dir = ::opendir(ordner.c_str());
    if (!dir) {
        fehler = std::strerror(errno);
        return false;
    }
    int dfd = ::dirfd(dir);
    for (;;) {
        errno = 0;
        dirent* e = ::readdir(dir);
        if (!e) break;
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
        DateiEintrag eintrag;
        eintrag.name = n;
        unsigned char typ = e->d_type;
        if (typ == DT_UNKNOWN) {
            struct stat st{};
            if (::fstatat(dfd, n, &st, AT_SYMLINK_NOFOLLOW) == 0) {
                typ = S_ISREG(st.st_mode) ? DT_REG : S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : DT_UNKNOWN;
            }
        }
        eintrag.regulaer = typ == DT_REG;
        eintrag.ordner = typ == DT_DIR;
        eintrag.verweis = typ == DT_LNK;
        eintraege.push_back(std::move(eintrag));
    }
    int lesefehler = errno;
    ::closedir(dir);
    if (lesefehler != 0) {
        fehler = std::strerror(lesefehler);
        return false;
    }
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

}  // namespace klebwerk::x11
