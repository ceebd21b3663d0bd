#include "platform/linux/anwendungskatalog.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/linux/prozessinfo.h"

namespace klebwerk::linuxdesk {

namespace {

std::string klein(std::string_view s) {
    std::string k(s);
    std::transform(k.begin(), k.end(), k.begin(), [](unsigned char c) { return std::tolower(c); });
    return k;
}

std::string_view ohneRaender(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::string basisname(std::string_view pfad) {
    size_t schraeg = pfad.rfind('/');
    return std::string(schraeg == std::string_view::npos ? pfad : pfad.substr(schraeg + 1));
}

// The program of an Exec line: its first word, without quotes and environment prefix;
// and whether a later word names a script or file for it (not an option, not a field code).
std::string programmAus(std::string_view exec, bool& mitSkript) {
    std::istringstream woerter{std::string(exec)};
    std::string wort, programm;
    mitSkript = false;
    while (woerter >> wort) {
        if (programm.empty()) {
            if (wort == "env" || wort.find('=') != std::string::npos) continue;
            if (wort.size() >= 2 && wort.front() == '"' && wort.back() == '"') wort = wort.substr(1, wort.size() - 2);
            programm = basisname(wort);
            continue;
        }
        if (wort.front() != '-' && wort.front() != '%') mitSkript = true;
    }
    return programm;
}

// "google-chrome (/tmp/profil)" → "google-chrome".
std::string ohneProfil(std::string_view name) {
    size_t klammer = name.find(" (");
    return klein(name.substr(0, klammer));
}

double sekundenJetzt() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

DesktopEintrag liesDesktopEintrag(std::string_view text, std::string id) {
    DesktopEintrag e;
    e.id = std::move(id);
    bool inGruppe = false;
    size_t anfang = 0;
    while (anfang < text.size()) {
        size_t ende = text.find('\n', anfang);
        if (ende == std::string_view::npos) ende = text.size();
        std::string_view zeile = ohneRaender(text.substr(anfang, ende - anfang));
        anfang = ende + 1;
        if (zeile.empty() || zeile.front() == '#') continue;
        if (zeile.front() == '[') {
            inGruppe = zeile == "[Desktop Entry]";
            continue;
        }
        if (!inGruppe) continue;
        size_t gleich = zeile.find('=');
        if (gleich == std::string_view::npos) continue;
        std::string_view schluessel = ohneRaender(zeile.substr(0, gleich));
        std::string wert(ohneRaender(zeile.substr(gleich + 1)));
        if (schluessel == "Name") e.name = wert;
        else if (schluessel.substr(0, 5) == "Name[" && schluessel.back() == ']')
            e.namen.emplace_back(std::string(schluessel.substr(5, schluessel.size() - 6)), wert);
        else if (schluessel == "StartupWMClass") e.wmKlasse = wert;
        else if (schluessel == "Exec") e.programm = programmAus(wert, e.mitSkript);
        else if (schluessel == "Hidden") e.versteckt = wert == "true";
    }
    return e;
}

std::string lokalisierterName(const DesktopEintrag& e, const std::vector<std::string>& sprachen) {
    for (std::string s : sprachen) {
        std::replace(s.begin(), s.end(), '-', '_');
        // "de_DE" first as it is, then its language alone.
        for (const std::string& kandidat : {s, s.substr(0, s.find('_'))}) {
            for (const auto& [sprache, name] : e.namen)
                if (sprache == kandidat && !name.empty()) return name;
        }
    }
    return e.name;
}

std::string browserKennung(const FensterKlasse& klasse, std::string_view desktopId, std::string_view programm) {
    struct Zuordnung {
        std::string_view name;
        std::string_view kennung;
    };
    // Window class names (lower case, profile suffix removed) and desktop entry ids.
    static constexpr Zuordnung namen[] = {
        {"chromium", "org.chromium.Chromium"},
        {"chromium-browser", "org.chromium.Chromium"},
        {"org.chromium.chromium", "org.chromium.Chromium"},
        {"google-chrome", "com.google.Chrome"},
        {"google-chrome-stable", "com.google.Chrome"},
        {"com.google.chrome", "com.google.Chrome"},
        {"google-chrome-beta", "com.google.Chrome.beta"},
        {"firefox", "org.mozilla.firefox"},
        {"firefox-esr", "org.mozilla.firefox"},
        {"org.mozilla.firefox", "org.mozilla.firefox"},
        {"microsoft-edge", "com.microsoft.edgemac"},
        {"microsoft-edge-stable", "com.microsoft.edgemac"},
        {"brave-browser", "com.brave.Browser"},
        {"com.brave.browser", "com.brave.Browser"},
        {"opera", "com.operasoftware.Opera"},
        {"com.opera.opera", "com.operasoftware.Opera"},
        {"vivaldi-stable", "com.vivaldi.Vivaldi"},
        {"vivaldi", "com.vivaldi.Vivaldi"},
        {"com.vivaldi.vivaldi", "com.vivaldi.Vivaldi"},
    };
    // Executable base names, for a browser whose window class says nothing.
    static constexpr Zuordnung programme[] = {
        {"chromium", "org.chromium.Chromium"}, {"chrome", "com.google.Chrome"},
        {"firefox", "org.mozilla.firefox"},    {"firefox-esr", "org.mozilla.firefox"},
        {"firefox-bin", "org.mozilla.firefox"}, {"msedge", "com.microsoft.edgemac"},
        {"brave", "com.brave.Browser"},        {"opera", "com.operasoftware.Opera"},
        {"vivaldi-bin", "com.vivaldi.Vivaldi"},
    };
    auto nachName = [](std::string_view n) -> std::string {
        if (n.empty()) return {};
        for (const auto& z : namen)
            if (z.name == n) return std::string(z.kennung);
        return {};
    };
    for (const std::string& n : {ohneProfil(klasse.klasse), ohneProfil(klasse.instanz), klein(desktopId)}) {
        if (auto k = nachName(n); !k.empty()) return k;
    }
    std::string p = klein(programm);
    for (const auto& z : programme)
        if (z.name == p) return std::string(z.kennung);
    return {};
}

std::string anwendungsKennung(const FensterKlasse& klasse, std::string_view desktopId, std::string_view programm) {
    if (auto k = browserKennung(klasse, desktopId, programm); !k.empty()) return k;
    if (!desktopId.empty()) return std::string(desktopId);
    if (klasse.instanz.empty() && klasse.klasse.empty()) return {};
    return "wmclass:" + klasse.instanz + "/" + klasse.klasse;
}

void Anwendungskatalog::setzeEintraege(std::vector<DesktopEintrag> e) {
    std::lock_guard lock(sperre_);
    eintraege_ = std::move(e);
    fest_ = true;
}

void Anwendungskatalog::liesOrdner() {
    std::vector<std::string> ordner;
    const char* heim = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (heim && *heim) ordner.push_back(heim);
    else if (home) ordner.push_back(std::string(home) + "/.local/share");
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::string liste = dirs && *dirs ? dirs : "/usr/local/share:/usr/share";
    std::istringstream teile(liste);
    for (std::string d; std::getline(teile, d, ':');)
        if (!d.empty()) ordner.push_back(d);

    std::vector<DesktopEintrag> gefunden;
    std::set<std::string> ids;  // the first folder that has an id wins
    for (const auto& o : ordner) {
        std::error_code fehler;
        std::filesystem::path wurzel = std::filesystem::path(o) / "applications";
        if (!std::filesystem::is_directory(wurzel, fehler)) continue;
        for (auto it = std::filesystem::recursive_directory_iterator(wurzel, fehler);
             !fehler && it != std::filesystem::recursive_directory_iterator(); it.increment(fehler)) {
            if (it->path().extension() != ".desktop" || !it->is_regular_file(fehler)) continue;
            // Sub-folders join the id with '-' (applications/kde/foo.desktop is "kde-foo").
            std::string id = std::filesystem::relative(it->path(), wurzel, fehler).replace_extension().string();
            std::replace(id.begin(), id.end(), '/', '-');
            if (!ids.insert(id).second) continue;
            std::ifstream datei(it->path());
            std::stringstream inhalt;
            inhalt << datei.rdbuf();
            DesktopEintrag e = liesDesktopEintrag(inhalt.str(), id);
            if (!e.versteckt) gefunden.push_back(std::move(e));
        }
    }
    eintraege_ = std::move(gefunden);
    gelesen_ = sekundenJetzt();
}

std::optional<DesktopEintrag> Anwendungskatalog::suche(const FensterKlasse& klasse, const std::string& pfad) const {
    std::string instanz = ohneProfil(klasse.instanz), art = ohneProfil(klasse.klasse);
    auto passt = [&](const std::string& n) { return !n.empty() && (n == instanz || n == art); };
    for (const auto& e : eintraege_)
        if (passt(klein(e.wmKlasse))) return e;
    for (const auto& e : eintraege_)
        if (passt(klein(e.id))) return e;
    std::string programm = basisname(pfad);
    if (!programm.empty()) {
        for (const auto& e : eintraege_)
            if (e.programm == programm && !e.mitSkript) return e;
    }
    return std::nullopt;
}

std::optional<DesktopEintrag> Anwendungskatalog::finde(const FensterKlasse& klasse, const std::string& pfad) {
    std::lock_guard lock(sperre_);
    if (!fest_ && gelesen_ < 0) liesOrdner();
    if (auto e = suche(klasse, pfad)) return e;
    if (!fest_ && sekundenJetzt() - gelesen_ > 60) {
        liesOrdner();
        return suche(klasse, pfad);
    }
    return std::nullopt;
}

void Anwendungskatalog::benenne(Anwendung& a, const FensterKlasse& klasse, const std::vector<std::string>& sprachen) {
    auto eintrag = finde(klasse, a.pfad);
    std::string programm = a.pfad.substr(a.pfad.rfind('/') + 1);
    a.kennung = anwendungsKennung(klasse, eintrag ? eintrag->id : std::string(), programm);
    if (eintrag) a.name = lokalisierterName(*eintrag, sprachen);
    if (a.name.empty()) a.name = klasse.klasse;
    if (a.name.empty()) a.name = befehlsname(a.pid);
}

}  // namespace klebwerk::linuxdesk
