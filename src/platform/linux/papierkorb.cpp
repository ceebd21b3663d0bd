#include "platform/linux/papierkorb.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace klebwerk::linuxdesk {

namespace {

std::string systemFehler(int nummer) { return std::strerror(nummer); }

std::string elternOrdner(const std::string& pfad) {
    size_t schraeg = pfad.rfind('/');
    if (schraeg == std::string::npos) return ".";
    if (schraeg == 0) return "/";
    return pfad.substr(0, schraeg);
}

// Creates a folder and its parents with mode 0700 where they are missing.
bool legeAn(const std::string& ordner) {
    struct stat st{};
    if (stat(ordner.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    if (ordner.empty() || ordner == "/") return false;
    if (!legeAn(elternOrdner(ordner))) return false;
    return mkdir(ordner.c_str(), 0700) == 0 || errno == EEXIST;
}

// The top folder of the file system that holds `pfad` (the last ancestor on the same device).
std::string oberstesVerzeichnis(const std::string& pfad, dev_t geraet) {
    std::string ordner = elternOrdner(pfad);
    while (ordner != "/") {
        std::string oben = elternOrdner(ordner);
        struct stat st{};
        if (stat(oben.c_str(), &st) != 0 || st.st_dev != geraet) break;
        ordner = oben;
    }
    return ordner;
}

std::string heimPapierkorb() {
    const char* daten = std::getenv("XDG_DATA_HOME");
    if (daten && *daten == '/') return std::string(daten) + "/Trash";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.local/share/Trash";
}

// The device of a folder, or of its nearest existing ancestor.
std::optional<dev_t> geraetVon(std::string ordner) {
    while (true) {
        struct stat st{};
        if (stat(ordner.c_str(), &st) == 0) return st.st_dev;
        if (ordner == "/" || ordner.empty()) return std::nullopt;
        ordner = elternOrdner(ordner);
    }
}

struct Ziel {
    std::string ordner;      // the trash folder holding files/ and info/
    std::string infoPfad;    // the path as the info entry records it
};

// Puts the entry and the file into one trash; false with errno's text on failure.
bool verschiebe(const std::string& quelle, const Ziel& ziel, std::string& fehler) {
    std::string dateien = ziel.ordner + "/files", info = ziel.ordner + "/info";
    if (!legeAn(dateien) || !legeAn(info)) {
        fehler = systemFehler(errno ? errno : EACCES);
        return false;
    }
    std::string name = quelle.substr(quelle.rfind('/') + 1);
    std::string text = trashinfoText(ziel.infoPfad, std::chrono::system_clock::now());
    for (int versuch = 1; versuch < 10000; ++versuch) {
        std::string kandidat = trashName(name, versuch);
        std::string eintrag = info + "/" + kandidat + ".trashinfo";
        std::string zielDatei = dateien + "/" + kandidat;
        // The info entry is created exclusively first: it reserves the name.
        int fd = open(eintrag.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            fehler = systemFehler(errno);
            return false;
        }
        struct stat st{};
        if (lstat(zielDatei.c_str(), &st) == 0) {  // a leftover without entry
            close(fd);
            unlink(eintrag.c_str());
            continue;
        }
        bool geschrieben = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        int schreibFehler = errno;
        if (close(fd) != 0 && geschrieben) {
            geschrieben = false;
            schreibFehler = errno;
        }
        if (!geschrieben) {
            unlink(eintrag.c_str());
            fehler = systemFehler(schreibFehler);
            return false;
        }
        if (rename(quelle.c_str(), zielDatei.c_str()) != 0) {
            int nummer = errno;
            unlink(eintrag.c_str());
            fehler = systemFehler(nummer);
            return false;
        }
        return true;
    }
    fehler = systemFehler(EEXIST);
    return false;
}

}  // namespace

std::string prozentKodiert(std::string_view pfad) {
    static const char hex[] = "0123456789ABCDEF";
    std::string aus;
    for (unsigned char c : pfad) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            aus.push_back(static_cast<char>(c));
        } else {
            aus.push_back('%');
            aus.push_back(hex[c >> 4]);
            aus.push_back(hex[c & 0xF]);
        }
    }
    return aus;
}

std::string trashinfoText(std::string_view pfad, std::chrono::system_clock::time_point zeit) {
    std::time_t t = std::chrono::system_clock::to_time_t(zeit);
    std::tm ortszeit{};
    localtime_r(&t, &ortszeit);
    char datum[32];
    std::strftime(datum, sizeof datum, "%Y-%m-%dT%H:%M:%S", &ortszeit);
    return "[Trash Info]\nPath=" + prozentKodiert(pfad) + "\nDeletionDate=" + datum + "\n";
}

std::string trashName(std::string_view name, int versuch) {
    if (versuch <= 1) return std::string(name);
    size_t punkt = name.rfind('.');
    if (punkt == std::string_view::npos || punkt == 0) return std::string(name) + "." + std::to_string(versuch);
    return std::string(name.substr(0, punkt)) + "." + std::to_string(versuch) + std::string(name.substr(punkt));
}

bool inDenPapierkorb(const std::string& pfad, std::string& fehler) {
    if (pfad.empty()) {
        fehler = systemFehler(ENOENT);
        return false;
    }
    // The absolute path of the file itself (its folder resolved, the last part kept,
    // so that a symbolic link goes to the trash as a link).
    std::string absolut = pfad;
    if (absolut.front() != '/') {
        char cwd[PATH_MAX];
        if (!getcwd(cwd, sizeof cwd)) {
            fehler = systemFehler(errno);
            return false;
        }
        absolut = std::string(cwd) + "/" + absolut;
    }
    while (absolut.size() > 1 && absolut.back() == '/') absolut.pop_back();
    char echt[PATH_MAX];
    std::string ordner = elternOrdner(absolut);
    if (!realpath(ordner.c_str(), echt)) {
        fehler = systemFehler(errno);
        return false;
    }
    std::string name = absolut.substr(absolut.rfind('/') + 1);
    if (name.empty() || name == "." || name == "..") {
        fehler = systemFehler(EINVAL);
        return false;
    }
    absolut = (std::string(echt) == "/" ? "" : std::string(echt)) + "/" + name;

    struct stat st{};
    if (lstat(absolut.c_str(), &st) != 0) {
        fehler = systemFehler(errno);
        return false;
    }

    std::string heim = heimPapierkorb();
    auto heimGeraet = geraetVon(heim);
    if (heimGeraet && *heimGeraet == st.st_dev) {
        if (absolut.rfind(heim + "/", 0) == 0) {  // already in the trash
            fehler = systemFehler(EINVAL);
            return false;
        }
        return verschiebe(absolut, {heim, absolut}, fehler);
    }

    std::string oben = oberstesVerzeichnis(absolut, st.st_dev);
    std::string relativ = absolut.substr(oben == "/" ? 1 : oben.size() + 1);
    std::string uid = std::to_string(getuid());
    struct stat trash{};
    std::string gemeinsam = oben + "/.Trash";
    if (lstat(gemeinsam.c_str(), &trash) == 0 && S_ISDIR(trash.st_mode) && (trash.st_mode & S_ISVTX)) {
        std::string eigen = gemeinsam + "/" + uid;
        if (legeAn(eigen) && verschiebe(absolut, {eigen, relativ}, fehler)) return true;
    }
    return verschiebe(absolut, {oben + "/.Trash-" + uid, relativ}, fehler);
}

}  // namespace klebwerk::linuxdesk
