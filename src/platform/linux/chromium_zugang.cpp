#include "platform/linux/chromium_zugang.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

#include "basis/atomar.h"
#include "basis/ordner.h"

namespace klebwerk::linuxdesk {
namespace {

constexpr std::string_view hauptGruppe = "Desktop Entry";

// The comment at the top of every copy, for whoever opens the file.
constexpr std::string_view kopieKommentar[] = {
    "# Klebwerk's copy of the system entry: the browser starts with --force-renderer-accessibility,",
    "# so that its pages are seen by assistive technologies. \"klebwerk --chromium-zugang-aus\" removes it.",
};

// One argument of an Exec value and where it ends in the value as written.
struct ExecArgument {
    std::string text;
    size_t ende = 0;
};

bool istLeer(char c) { return c == ' ' || c == '\t' || c == '\n'; }

std::optional<std::vector<ExecArgument>> zerlegeExec(std::string_view wert) {
    // First the escapes of string values, remembering for each character where it
    // ends in the written value ...
    struct Zeichen {
        char c;
        size_t ende;
    };
    std::vector<Zeichen> z;
    for (size_t i = 0; i < wert.size();) {
        if (wert[i] == '\\' && i + 1 < wert.size()) {
            char c = 0;
            switch (wert[i + 1]) {
                case 's': c = ' '; break;
                case 'n': c = '\n'; break;
                case 't': c = '\t'; break;
                case 'r': c = '\r'; break;
                case '\\': c = '\\'; break;
                default: break;
            }
            if (c) {
                z.push_back({c, i + 2});
                i += 2;
                continue;
            }
        }
        z.push_back({wert[i], i + 1});
        ++i;
    }
    // ... then the arguments, with the quoting rule of Exec values.
    std::vector<ExecArgument> argumente;
    size_t k = 0;
    while (true) {
        while (k < z.size() && istLeer(z[k].c)) ++k;
        if (k == z.size()) break;
        ExecArgument a;
        bool zitiert = false;
        while (k < z.size()) {
            char c = z[k].c;
            if (zitiert) {
                if (c == '\\' && k + 1 < z.size() && std::strchr("\"`$\\", z[k + 1].c)) {
                    a.text += z[k + 1].c;
                    k += 2;
                } else {
                    if (c == '"') zitiert = false;
                    else a.text += c;
                    ++k;
                }
            } else if (istLeer(c)) {
                break;
            } else {
                if (c == '"') zitiert = true;
                else a.text += c;
                ++k;
            }
        }
        if (zitiert) return std::nullopt;
        a.ende = z[k - 1].ende;
        argumente.push_back(std::move(a));
    }
    if (argumente.empty()) return std::nullopt;
    return argumente;
}

std::string_view basisname(std::string_view pfad) {
    size_t schraeg = pfad.rfind('/');
    return schraeg == std::string_view::npos ? pfad : pfad.substr(schraeg + 1);
}

std::string_view ohneRaender(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// One line of a desktop entry: a group header, a key with its value, or anything else
// (comments, blank lines), which is kept as it is.
struct Zeile {
    std::string_view text;
    std::optional<std::string_view> gruppe;
    std::string_view schluessel;
    size_t wertAnfang = 0;  // where the value starts in `text`, after "=" and blanks
};

Zeile leseZeile(std::string_view text) {
    Zeile z{text, std::nullopt, {}, 0};
    std::string_view t = ohneRaender(text);
    if (t.empty() || t.front() == '#') return z;
    if (t.front() == '[' && t.back() == ']') {
        z.gruppe = t.substr(1, t.size() - 2);
        return z;
    }
    size_t gleich = text.find('=');
    if (gleich == std::string_view::npos) return z;
    z.schluessel = ohneRaender(text.substr(0, gleich));
    z.wertAnfang = gleich + 1;
    while (z.wertAnfang < text.size() && (text[z.wertAnfang] == ' ' || text[z.wertAnfang] == '\t')) ++z.wertAnfang;
    return z;
}

std::vector<std::string_view> zeilenVon(std::string_view text) {
    std::vector<std::string_view> zeilen;
    while (!text.empty()) {
        size_t ende = text.find('\n');
        if (ende == std::string_view::npos) ende = text.size();
        zeilen.push_back(text.substr(0, ende));
        text.remove_prefix(std::min(ende + 1, text.size()));
    }
    return zeilen;
}

std::string fehlerText(int nummer) { return std::strerror(nummer); }

// A file's text; nothing when there is no file, `fehler` set when it could not be read.
std::optional<std::string> liesEintrag(const std::string& pfad, std::string& fehler) {
    fehler.clear();
    struct stat info{};
    if (lstat(pfad.c_str(), &info) != 0) {
        if (errno != ENOENT && errno != ENOTDIR) fehler = fehlerText(errno);
        return std::nullopt;
    }
    FILE* datei = std::fopen(pfad.c_str(), "rb");
    if (!datei) {
        fehler = fehlerText(errno);
        return std::nullopt;
    }
    std::string text;
    char puffer[8192];
    size_t n;
    while ((n = std::fread(puffer, 1, sizeof puffer, datei)) > 0) text.append(puffer, n);
    if (std::ferror(datei)) fehler = fehlerText(errno);
    std::fclose(datei);
    if (!fehler.empty()) return std::nullopt;
    return text;
}

std::string ohneSchraegstrichAmEnde(std::string pfad) {
    while (pfad.size() > 1 && pfad.back() == '/') pfad.pop_back();
    return pfad;
}

std::string eigenerOrdner() { return xdgDatenOrdner() + "/applications"; }

}  // namespace

const std::vector<ChromiumBrowser>& chromiumBrowser() {
    static const std::vector<ChromiumBrowser> liste = {
        {"chromium.desktop", "Chromium"},
        {"google-chrome.desktop", "Google Chrome"},
    };
    return liste;
}

std::vector<std::string> systemDatenOrdner() {
    const char* wert = std::getenv("XDG_DATA_DIRS");
    std::string_view liste = (wert && wert[0]) ? wert : "/usr/local/share:/usr/share";
    std::string eigener = ohneSchraegstrichAmEnde(xdgDatenOrdner());
    std::vector<std::string> ordner;
    while (true) {
        size_t ende = liste.find(':');
        std::string eins = ohneSchraegstrichAmEnde(std::string(liste.substr(0, ende)));
        if (!eins.empty() && eins.front() == '/' && eins != eigener) ordner.push_back(eins);
        if (ende == std::string_view::npos) break;
        liste.remove_prefix(ende + 1);
    }
    return ordner;
}

std::optional<std::vector<std::string>> execArgumente(std::string_view wert) {
    auto argumente = zerlegeExec(wert);
    if (!argumente) return std::nullopt;
    std::vector<std::string> texte;
    for (auto& a : *argumente) texte.push_back(std::move(a.text));
    return texte;
}

std::optional<std::string> execMitSchalter(std::string_view wert) {
    auto argumente = zerlegeExec(wert);
    if (!argumente) return std::nullopt;
    size_t programm = 0;
    if (basisname((*argumente)[0].text) == "env") {
        programm = 1;
        while (programm < argumente->size() && (*argumente)[programm].text.find('=') != std::string::npos) ++programm;
        if (programm == argumente->size()) return std::nullopt;
    }
    for (size_t i = programm + 1; i < argumente->size(); ++i)
        if ((*argumente)[i].text == zugangsSchalter) return std::string(wert);
    size_t ende = (*argumente)[programm].ende;
    std::string neu(wert.substr(0, ende));
    neu += ' ';
    neu += zugangsSchalter;
    neu += wert.substr(ende);
    return neu;
}

std::optional<std::string> eintragMitZugang(std::string_view systemEintrag) {
    std::string neu;
    for (std::string_view zeile : kopieKommentar) {
        neu += zeile;
        neu += '\n';
    }
    bool hauptGruppeDa = false;
    bool execDa = false;
    std::optional<std::string_view> gruppe;
    for (std::string_view text : zeilenVon(systemEintrag)) {
        if (std::find(std::begin(kopieKommentar), std::end(kopieKommentar), text) != std::end(kopieKommentar)) continue;
        Zeile z = leseZeile(text);
        if (z.gruppe) {
            gruppe = z.gruppe;
            neu += text;
            neu += '\n';
            if (*gruppe == hauptGruppe && !hauptGruppeDa) {
                hauptGruppeDa = true;
                neu += zugangsMarke;
                neu += "=true\n";
            }
            continue;
        }
        if (gruppe == hauptGruppe && z.schluessel == zugangsMarke) continue;
        if (gruppe && z.schluessel == "Exec") {
            auto wert = execMitSchalter(text.substr(z.wertAnfang));
            if (!wert) return std::nullopt;
            execDa = true;
            neu += text.substr(0, z.wertAnfang);
            neu += *wert;
            neu += '\n';
            continue;
        }
        neu += text;
        neu += '\n';
    }
    if (!hauptGruppeDa || !execDa) return std::nullopt;
    return neu;
}

bool traegtZugangsMarke(std::string_view eintrag) {
    std::optional<std::string_view> gruppe;
    for (std::string_view text : zeilenVon(eintrag)) {
        Zeile z = leseZeile(text);
        if (z.gruppe) gruppe = z.gruppe;
        else if (gruppe == hauptGruppe && z.schluessel == zugangsMarke)
            return ohneRaender(text.substr(z.wertAnfang)) == "true";
    }
    return false;
}

bool startetMitSchalter(std::string_view eintrag) {
    bool execDa = false;
    std::optional<std::string_view> gruppe;
    for (std::string_view text : zeilenVon(eintrag)) {
        Zeile z = leseZeile(text);
        if (z.gruppe) {
            gruppe = z.gruppe;
        } else if (gruppe && z.schluessel == "Exec") {
            std::string_view wert = text.substr(z.wertAnfang);
            if (execMitSchalter(wert) != std::optional<std::string>(wert)) return false;
            execDa = true;
        }
    }
    return execDa;
}

std::vector<ZugangsErgebnis> richteChromiumZugangEin() {
    std::vector<ZugangsErgebnis> ergebnisse;
    std::string ordner = eigenerOrdner();
    for (const ChromiumBrowser& browser : chromiumBrowser()) {
        ZugangsErgebnis e{browser, ZugangsStand::fehler, ordner + "/" + browser.datei, {}, {}};
        std::optional<std::string> vorhanden = liesEintrag(e.pfad, e.fehler);
        if (!e.fehler.empty()) {
            e.fehler = e.pfad + ": " + e.fehler;
            ergebnisse.push_back(e);
            continue;
        }
        if (vorhanden && !traegtZugangsMarke(*vorhanden)) {
            e.stand = startetMitSchalter(*vorhanden) ? ZugangsStand::eigenerMitSchalter : ZugangsStand::eigenerEintrag;
            ergebnisse.push_back(e);
            continue;
        }
        // The first of the data folders that has the entry is the one the desktop shows.
        std::optional<std::string> system;
        for (const std::string& daten : systemDatenOrdner()) {
            std::string pfad = daten + "/applications/" + browser.datei;
            system = liesEintrag(pfad, e.fehler);
            if (system || !e.fehler.empty()) {
                e.quelle = pfad;
                break;
            }
        }
        if (!e.fehler.empty()) {
            e.fehler = e.quelle + ": " + e.fehler;
            ergebnisse.push_back(e);
            continue;
        }
        if (!system) {
            e.stand = ZugangsStand::keinSystemEintrag;
            ergebnisse.push_back(e);
            continue;
        }
        std::optional<std::string> kopie = eintragMitZugang(*system);
        if (!kopie) {
            e.stand = ZugangsStand::unverstaendlich;
            ergebnisse.push_back(e);
            continue;
        }
        if (vorhanden == kopie) {
            e.stand = ZugangsStand::unveraendert;
            ergebnisse.push_back(e);
            continue;
        }
        std::error_code f;
        std::filesystem::create_directories(ordner, f);
        if (f || !std::filesystem::is_directory(ordner)) {
            e.fehler = ordner + ": " + (f ? f.message() : fehlerText(ENOTDIR));
        } else if (!schreibeAtomar(e.pfad, *kopie)) {
            int nummer = errno;
            if (access(ordner.c_str(), W_OK) != 0) nummer = errno;
            e.fehler = ordner + ": " + fehlerText(nummer ? nummer : EIO);
        } else {
            e.stand = ZugangsStand::eingerichtet;
        }
        ergebnisse.push_back(e);
    }
    return ergebnisse;
}

std::vector<ZugangsErgebnis> entferneChromiumZugang() {
    std::vector<ZugangsErgebnis> ergebnisse;
    std::string ordner = eigenerOrdner();
    for (const ChromiumBrowser& browser : chromiumBrowser()) {
        ZugangsErgebnis e{browser, ZugangsStand::fehler, ordner + "/" + browser.datei, {}, {}};
        std::optional<std::string> vorhanden = liesEintrag(e.pfad, e.fehler);
        if (!e.fehler.empty()) {
            e.fehler = e.pfad + ": " + e.fehler;
        } else if (!vorhanden) {
            e.stand = ZugangsStand::keinEintrag;
        } else if (!traegtZugangsMarke(*vorhanden)) {
            e.stand = startetMitSchalter(*vorhanden) ? ZugangsStand::eigenerMitSchalter : ZugangsStand::eigenerEintrag;
        } else if (std::remove(e.pfad.c_str()) != 0) {
            e.fehler = e.pfad + ": " + fehlerText(errno);
        } else {
            e.stand = ZugangsStand::entfernt;
        }
        ergebnisse.push_back(e);
    }
    return ergebnisse;
}

}  // namespace klebwerk::linuxdesk
