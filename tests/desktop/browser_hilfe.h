#pragma once

// Real browsers for the desktop tests: Chromium and Firefox ESR under the private
// session, each with a fresh profile and kept off the network, and a loopback HTTPS
// server that serves a folder under a listed host name with a throw-away certificate.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QTemporaryDir>

#include "desktop/klebwerk_lauf.h"
#include "desktop/warten.h"

namespace klebwerk::test {

enum class Browserart { chromium, firefox };

inline const char* browserName(Browserart art) { return art == Browserart::chromium ? "chromium" : "firefox"; }

// What the browser appends to the page title in its window title.
inline std::string titelZusatz(Browserart art) {
    return art == Browserart::chromium ? " - Chromium" : " \u2014 Mozilla Firefox";
}

inline bool programmDa(const std::string& programm) {
    return !ausgabeVon({"sh", "-c", "command -v \"$1\"", "sh", programm}).empty();
}

inline std::string programmFuer(Browserart art) { return art == Browserart::chromium ? "chromium" : "firefox-esr"; }

// Runs a program quietly (its output and errors dropped); its exit status, or -1.
inline int stillAusfuehren(const std::vector<std::string>& befehl) {
    std::vector<char*> argv;
    for (const auto& a : befehl) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t aktionen;
    posix_spawn_file_actions_init(&aktionen);
    posix_spawn_file_actions_addopen(&aktionen, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&aktionen, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    const int fehler = posix_spawnp(&pid, argv[0], &aktionen, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&aktionen);
    if (fehler != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A throw-away certificate authority and a leaf certificate for `host` signed by it,
// made with openssl in `ordner`: ca.pem, blatt.pem, blatt.key. False when openssl failed.
inline bool macheZertifikate(const std::string& ordner, const std::string& host) {
    const std::string o = ordner + "/";
    std::ofstream(o + "blatt.ext") << "subjectAltName=DNS:" << host << "\nbasicConstraints=CA:FALSE\n"
                                   << "keyUsage=critical,digitalSignature\nextendedKeyUsage=serverAuth\n";
    const std::vector<std::string> ec = {"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
    auto mit = [&](std::vector<std::string> befehl, const std::vector<std::string>& rest) {
        befehl.insert(befehl.end(), rest.begin(), rest.end());
        return stillAusfuehren(befehl) == 0;
    };
    return mit({"openssl", "req", "-x509", "-days", "2", "-subj", "/CN=Klebwerk Test-CA", "-addext",
                "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=critical,keyCertSign,cRLSign", "-keyout",
                o + "ca.key", "-out", o + "ca.pem"},
               ec) &&
           mit({"openssl", "req", "-subj", "/CN=" + host, "-keyout", o + "blatt.key", "-out", o + "blatt.csr"}, ec) &&
           stillAusfuehren({"openssl", "x509", "-req", "-days", "2", "-in", o + "blatt.csr", "-CA", o + "ca.pem", "-CAkey",
                      o + "ca.key", "-CAcreateserial", "-extfile", o + "blatt.ext", "-out", o + "blatt.pem"}) == 0;
}

// `openssl s_server -WWW` on a free loopback port: GET /NAME answers with the file NAME
// of `wurzel` (the address's query is part of the name: pass state in the fragment).
class HttpsServer {
public:
    HttpsServer(const std::string& host, const std::string& wurzel) : host_(host) {
        if (!schluessel_.isValid() || !macheZertifikate(schluessel_.path().toStdString(), host)) return;
        const std::string s = schluessel_.path().toStdString();
        server_ = std::make_unique<Kindprozess>(std::vector<std::string>{
            "sh", "-c", "cd \"$1\" && exec openssl s_server -accept 127.0.0.1:0 -WWW -cert \"$2\" -key \"$3\"", "sh",
            wurzel, s + "/blatt.pem", s + "/blatt.key"});
        warteBis([&] {
            const std::string aus = server_->ausgabe();
            const std::string marke = "ACCEPT 127.0.0.1:";
            const size_t p = aus.find(marke);
            if (p == std::string::npos || aus.find('\n', p) == std::string::npos) return false;
            port_ = std::stoi(aus.substr(p + marke.size()));
            return true;
        });
    }
    bool laeuft() const { return port_ > 0; }
    int port() const { return port_; }
    const std::string& host() const { return host_; }
    std::string adresse(const std::string& pfad) const {
        return "https://" + host_ + ":" + std::to_string(port_) + "/" + pfad;
    }
    std::string zertifizierungsstelle() const { return schluessel_.path().toStdString() + "/ca.pem"; }

private:
    std::string host_;
    QTemporaryDir schluessel_;
    std::unique_ptr<Kindprozess> server_;
    int port_ = 0;
};

struct BrowserStart {
    std::string adresse;
    // Further tabs of the same window, after the first.
    std::vector<std::string> weitereTabs = {};
    // Host names that resolve to the loopback address (served by an HttpsServer).
    std::vector<std::string> hosts = {};
    // A certificate authority the browser trusts (Firefox; Chromium ignores certificate
    // errors when hosts are given).
    std::string zertifizierungsstelle = {};
    // Chromium: the page's accessibility tree on the bus (--force-renderer-accessibility).
    // Without it Chromium runs as a user starts it (Chromium 156 shows its pages then too).
    bool seitenBaum = true;
    // False: the browser cannot reach the accessibility bus (its address points at no
    // socket), as one that shows nothing there; its windows are windows of the X side only.
    bool zugaenglichkeitsBus = true;
    // Chromium: a native client of the Wayland compositor (WAYLAND_DISPLAY) instead of
    // an X client.
    bool wayland = false;
};

// Preferences of a Firefox profile that keep it from ever reaching the network: no
// first-run or welcome pages, no telemetry, updates, studies, captive-portal or
// connectivity checks, safe-browsing lists or remote settings; every proxy points at a
// closed loopback port (9, discard), and only the listed hosts go direct. Every name
// resolves to the loopback address without asking DNS: without that Firefox still looked
// up its settings and update servers (HTTPS records, prefetching) past the proxy.
inline std::string firefoxEinstellungen(const std::vector<std::string>& hosts) {
    std::string liste;
    for (const auto& h : hosts) liste += (liste.empty() ? "" : ",") + h;
    std::string text;
    auto pref = [&](const std::string& name, const std::string& wert) {
        text += "user_pref(\"" + name + "\", " + wert + ");\n";
    };
    auto an = [&](const std::string& name, bool wert) { pref(name, wert ? "true" : "false"); };
    auto zahl = [&](const std::string& name, int wert) { pref(name, std::to_string(wert)); };
    auto wort = [&](const std::string& name, const std::string& wert) { pref(name, "\"" + wert + "\""); };
    an("browser.shell.checkDefaultBrowser", false);
    wort("browser.startup.homepage_override.mstone", "ignore");
    wort("startup.homepage_welcome_url", "");
    wort("startup.homepage_welcome_url.additional", "");
    wort("startup.homepage_override_url", "");
    an("browser.startup.firstrunSkipsHomepage", true);
    an("browser.aboutwelcome.enabled", false);
    zahl("browser.startup.page", 0);
    wort("browser.startup.homepage", "about:blank");
    an("browser.newtabpage.enabled", false);
    an("browser.sessionstore.resume_from_crash", false);
    zahl("toolkit.startup.max_resumed_crashes", -1);
    an("browser.tabs.warnOnClose", false);
    an("browser.translations.enabled", false);
    an("browser.discovery.enabled", false);
    an("datareporting.policy.dataSubmissionEnabled", false);
    wort("datareporting.policy.firstRunURL", "");
    an("datareporting.healthreport.uploadEnabled", false);
    an("toolkit.telemetry.enabled", false);
    an("toolkit.telemetry.unified", false);
    an("toolkit.telemetry.archive.enabled", false);
    an("app.update.auto", false);
    an("app.update.disabledForTesting", true);
    an("app.normandy.enabled", false);
    an("app.shield.optoutstudies.enabled", false);
    an("extensions.update.enabled", false);
    an("extensions.blocklist.enabled", false);
    an("extensions.getAddons.cache.enabled", false);
    wort("services.settings.server", "https://127.0.0.1:9/");
    an("network.captive-portal-service.enabled", false);
    an("network.connectivity-service.enabled", false);
    an("browser.safebrowsing.malware.enabled", false);
    an("browser.safebrowsing.phishing.enabled", false);
    an("browser.safebrowsing.downloads.enabled", false);
    an("browser.safebrowsing.blockedURIs.enabled", false);
    an("browser.search.suggest.enabled", false);
    an("browser.urlbar.suggest.searches", false);
    an("browser.urlbar.speculativeConnect.enabled", false);
    an("browser.region.update.enabled", false);
    wort("browser.region.network.url", "");
    an("geo.enabled", false);
    wort("media.gmp-manager.url", "");
    zahl("security.OCSP.enabled", 0);
    an("security.remote_settings.crlite_filters.enabled", false);
    an("security.remote_settings.intermediates.enabled", false);
    zahl("network.trr.mode", 5);
    wort("network.dns.forceResolve", "127.0.0.1");
    an("network.dns.native_https_query", false);
    an("network.dns.upgrade_with_https_rr", false);
    an("network.dns.use_https_rr_as_altsvc", false);
    an("network.dns.echconfig.enabled", false);
    an("network.predictor.enabled", false);
    an("network.dns.disablePrefetch", true);
    an("network.prefetch-next", false);
    zahl("network.http.speculative-parallel-limit", 0);
    zahl("network.proxy.type", 1);
    for (const char* art : {"http", "ssl", "socks"}) {
        wort(std::string("network.proxy.") + art, "127.0.0.1");
        zahl(std::string("network.proxy.") + art + "_port", 9);
    }
    an("network.proxy.socks_remote_dns", true);
    // A proxy that does not answer is not a reason to go direct.
    an("network.proxy.failover_direct", false);
    // Loopback addresses too go through the closed proxy, except the listed hosts.
    an("network.proxy.allow_hijacking_localhost", true);
    wort("network.proxy.no_proxies_on", liste);
    wort("network.dns.localDomains", liste);
    return text;
}

// A browser with a fresh profile, showing `start.adresse` in one window.
class Browser {
public:
    Browser(Browserart art, const BrowserStart& start) : art_(art) {
        const std::string profil = profil_.path().toStdString();
        std::vector<std::string> befehl;
        std::vector<std::string> umgebung;
        if (art == Browserart::chromium) {
            befehl = {"chromium",
                      "--no-sandbox",
                      "--disable-background-networking",
                      "--disable-component-update",
                      "--disable-sync",
                      "--no-first-run",
                      "--no-default-browser-check",
                      "--disable-default-apps",
                      "--password-store=basic",
                      "--disable-gpu",
                      "--user-data-dir=" + profil,
                      "--window-position=60,60",
                      "--window-size=900,640"};
            if (start.wayland) befehl.push_back("--ozone-platform=wayland");
            if (start.seitenBaum) {
                befehl.push_back("--force-renderer-accessibility");
                umgebung.push_back("ACCESSIBILITY_ENABLED=1");
            }
            // No name resolves but the listed hosts, to the loopback address: without the
            // catch-all Chromium asks DNS for its Google services despite the flags above.
            std::string regeln;
            for (const auto& h : start.hosts) regeln += "MAP " + h + " 127.0.0.1, ";
            befehl.push_back("--host-resolver-rules=" + regeln + "MAP * ~NOTFOUND");
            if (!start.hosts.empty()) befehl.push_back("--ignore-certificate-errors");
        } else {
            std::ofstream(profil + "/user.js") << firefoxEinstellungen(start.hosts);
            if (!start.zertifizierungsstelle.empty()) {
                stillAusfuehren({"certutil", "-N", "-d", "sql:" + profil, "--empty-password"});
                stillAusfuehren({"certutil", "-A", "-d", "sql:" + profil, "-n", "Klebwerk Test-CA", "-t", "C,,", "-i",
                           start.zertifizierungsstelle});
            }
            befehl = {"firefox-esr", "--no-remote", "--new-instance", "--profile", profil, "--width", "900", "--height", "640"};
            umgebung = {"MOZ_CRASHREPORTER_DISABLE=1"};
        }
        if (!start.zugaenglichkeitsBus) umgebung.push_back("AT_SPI_BUS_ADDRESS=unix:path=" + profil + "/kein-bus");
        befehl.push_back(start.adresse);
        befehl.insert(befehl.end(), start.weitereTabs.begin(), start.weitereTabs.end());
        prozess_ = std::make_unique<Kindprozess>(befehl, umgebung);
    }

    // Ended before its profile goes: the browser's helper processes, which name the
    // profile on their command line, may still write to it after the browser itself ended.
    ~Browser() {
        prozess_.reset();
        warteBis([&] { return !prozessMitProfil(); }, 5);
    }

    Browserart art() const { return art_; }
    int pid() const { return prozess_->pid(); }

    // Its visible X window, 0 while there is none.
    std::uint32_t fenster() const {
        const std::string ids = ausgabeVon({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(pid())});
        return ids.empty() ? 0 : static_cast<std::uint32_t>(std::stoul(ids.substr(0, ids.find('\n'))));
    }
    bool warteAufFenster(double frist = 40) const {
        return warteBis([&] { return fenster() != 0; }, frist);
    }
    std::string fensterTitel() const {
        const std::uint32_t id = fenster();
        return id ? ausgabeVon({"xdotool", "getwindowname", std::to_string(id)}) : std::string();
    }
    // The page title, as its window shows it; absent while the window shows another
    // kind of title (loading, an error page without one).
    std::optional<std::string> seitenTitel() const {
        const std::string t = fensterTitel();
        const std::string zusatz = titelZusatz(art_);
        if (t.size() <= zusatz.size() || t.compare(t.size() - zusatz.size(), zusatz.size(), zusatz) != 0) return std::nullopt;
        return t.substr(0, t.size() - zusatz.size());
    }
    bool warteAufSeitenTitel(const std::string& titel, double frist = 20) const {
        return warteBis([&] { return seitenTitel() == titel; }, frist);
    }

    // Brings its window to the front.
    bool aktiviere() const {
        const std::uint32_t id = fenster();
        if (!id || fuehreAus({"xdotool", "windowactivate", "--sync", std::to_string(id)}) != 0) return false;
        // Active for the window manager, and the keyboard's focus with the window.
        return warteBis([&] {
            return ausgabeVon({"xdotool", "getactivewindow"}) == std::to_string(id) &&
                   ausgabeVon({"xdotool", "getwindowfocus"}) == std::to_string(id);
        }, 5);
    }

    // Goes to `adresse` in the current tab as a user does: the address bar, the address
    // typed, any completion the browser offers deleted, Return. `leisteBereit` tells when
    // the address bar has the keyboard's focus: right after its start a browser can drop
    // the keys that go before.
    bool oeffne(const std::string& adresse, const std::function<bool()>& leisteBereit) const {
        if (!aktiviere() || fuehreAus({"xdotool", "key", "--clearmodifiers", "ctrl+l"}) != 0) return false;
        if (!warteBis(leisteBereit, 5)) return false;
        return fuehreAus({"xdotool", "type", "--delay", "4", adresse}) == 0 &&
               fuehreAus({"xdotool", "key", "Delete", "Return"}) == 0;
    }

private:
    bool prozessMitProfil() const {
        const std::string profil = profil_.path().toStdString();
        const std::string eigene = std::to_string(getpid());
        std::error_code f;
        for (const auto& eintrag : std::filesystem::directory_iterator("/proc", f)) {
            const std::string pid = eintrag.path().filename().string();
            if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos || pid == eigene) continue;
            if (liesDatei(eintrag.path().string() + "/cmdline").find(profil) != std::string::npos) return true;
        }
        return false;
    }

    Browserart art_;
    QTemporaryDir profil_;
    std::unique_ptr<Kindprozess> prozess_;
};

// The events the test page (tests/fixtures/browsertest.html) wrote into its title:
// "<name> | P <element> <types> <items> | E".
inline std::vector<std::string> seitenEreignisse(const std::string& seitenTitel) {
    std::vector<std::string> teile;
    size_t p = seitenTitel.find(" | ");
    while (p != std::string::npos) {
        const size_t naechstes = seitenTitel.find(" | ", p + 3);
        teile.push_back(seitenTitel.substr(p + 3, naechstes == std::string::npos ? std::string::npos : naechstes - p - 3));
        p = naechstes;
    }
    return teile;
}

}  // namespace klebwerk::test
