// Random command texts over the session bus into a running Klebwerk: known words with
// wrong, missing and surplus arguments, unknown words, numbers out of range, control
// characters, overlong texts. The words that post real input ("klick", "kuerzel") and
// "beenden" are left out.

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <sys/wait.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QJsonDocument>

#include "basis/einzeilig.h"
#include "basis/protokoll.h"
#include "desktop/klebwerk_lauf.h"
#include "diagnostics/befehlstext.h"

namespace klebwerk {
namespace {

using test::KlebwerkLauf;
using test::liesDatei;
using test::warteBis;

constexpr int befehlZahl = 500;

const std::vector<std::string> befehlsWoerter = {
    "ziel",      "aktiv",       "entferne",  "aufheben",      "zustellen",     "knopf",   "knopfweg",
    "dknopf",    "dknopfweg",   "diktat",    "diktatsenden",  "lernart",       "auto",    "absenden",
    "pause",     "aufnahmen",   "papierkorb", "liste",        "fenster",       "klaenge", "takte",
    "zielneu",   "klickwahl",   "wahl",      "abbruch",       "ordne",         "taste",   "menue",
    "lernen",    "klicklernen", "url",       "ki",            "feldziel",      "browserfokus",
    "kuerzellernen", "kuerzeldruck", "wache", "vorlesen",     "feld",          "mini",    "kuerzelklappen",
    "punktdoppel", "punktbild", "feldbild",  "ziehtest",      "menuebild",
};

const std::vector<std::string> fremdeWoerter = {
    "", " ", "Pause", "pause ", "klick ", "ZIEL", "beendenn", "unbekannt", "\xc3\xa4nderung", "|", "\\", "\"",
};

const std::vector<std::string> argumente = {
    "0", "1", "-1", "2", "-0", "1.5", "65535", "65536", "-65536", "4294967295", "4294967296",
    "9223372036854775808", "1e999", "-1e999", "nan", "inf", "0x10", "+1", " 1", "1 ", "",
    "Kleiner Chat", "Chat", "notizen.txt", "diktat", "senden", "vorlesen", "cmd,alt", "ctrl,shift,cmd,alt,hyper",
    ",,,", "/", "/dev/zero", "/proc/self/status", "/tmp/gibt-es-nicht.png", "relativ.png",
    "Gr\xc3\xb6\xc3\x9f" "e \xe2\x8c\x98 \xf0\x9f\x98\x80", "\xe2\x80\xa8", "\"", "\\", "\\n", "[\"x\"]",
};

// A text of `laenge` characters drawn from letters, digits, separators, control
// characters and multi-byte characters (valid UTF-8, as the bus demands).
std::string zufallsText(std::mt19937& zufall, size_t laenge) {
    static const std::vector<std::string> zeichen = {
        "a", "Z", "7", " ", "|", ",", "\"", "\\", "\n", "\r", "\t", "\x1b", "\x7f", "\x01", "\xc3\xbc",
        "\xe2\x8c\xa5", "\xf0\x9f\x93\x8b", "\xe2\x80\xa9", "\xc2\x85", "[", "]",
    };
    std::string text;
    for (size_t i = 0; i < laenge; ++i) text += zeichen[zufall() % zeichen.size()];
    return text;
}

std::string zufallsBefehl(std::mt19937& zufall) {
    auto wuerfel = [&](unsigned n) { return zufall() % n; };
    std::string text = wuerfel(10) < 7 ? befehlsWoerter[wuerfel(befehlsWoerter.size())]
                                       : (wuerfel(2) ? fremdeWoerter[wuerfel(fremdeWoerter.size())]
                                                     : zufallsText(zufall, wuerfel(12)));
    const unsigned teile = wuerfel(20) == 0 ? 20 + wuerfel(40) : wuerfel(5);
    for (unsigned i = 0; i < teile; ++i) {
        text += '|';
        switch (wuerfel(10)) {
            case 0: case 1: case 2: case 3: case 4: text += argumente[wuerfel(argumente.size())]; break;
            case 5: text += std::to_string(static_cast<long long>(zufall()) - (1LL << 31)); break;
            default: text += zufallsText(zufall, wuerfel(16)); break;
        }
    }
    // Now and then a long text, below and above the size the channel accepts.
    if (wuerfel(25) == 0) text += '|' + std::string(3000 + wuerfel(8000), wuerfel(2) ? 'x' : '\n');
    return text;
}

// The log's entry for a command, as the program writes it.
std::string erwarteterEintrag(const std::string& text) {
    if (text.size() > befehlHoechstlaenge) return "Testbefehl abgewiesen: " + std::to_string(text.size()) + " Bytes";
    return gekuerzt("Testbefehl: " + befehlsListe(teileBefehl(text)), hoechsteProtokollZeile);
}

bool hatStempel(const std::string& zeile) {
    static const char muster[] = "dddd-dd-dd dd:dd:dd ";
    if (zeile.size() < sizeof muster - 1) return false;
    for (size_t i = 0; i + 1 < sizeof muster; ++i) {
        if (muster[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(zeile[i])) : zeile[i] != muster[i]) return false;
    }
    return true;
}

std::vector<std::string> zeilenVon(const std::string& text) {
    std::vector<std::string> zeilen;
    size_t anfang = 0;
    while (anfang < text.size()) {
        size_t ende = text.find('\n', anfang);
        if (ende == std::string::npos) ende = text.size();
        zeilen.push_back(text.substr(anfang, ende - anfang));
        anfang = ende + 1;
    }
    return zeilen;
}

std::vector<std::string> befehlsEintraege(const std::string& protokoll) {
    std::vector<std::string> eintraege;
    for (const std::string& z : zeilenVon(protokoll)) {
        if (z.size() > 20 && z.compare(20, 10, "Testbefehl") == 0) eintraege.push_back(z.substr(20));
    }
    return eintraege;
}

// Sends one command, then waits for the bus to answer a call: the commands go out one
// at a time instead of flooding the program's queue all at once.
bool sende(const std::string& text) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusMessage signal = QDBusMessage::createSignal("/de/quenmoral/klebwerk", "de.quenmoral.klebwerk", "befehl");
    signal << QString::fromStdString(text);
    if (!bus.send(signal)) return false;
    const QDBusMessage ping = QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                             "org.freedesktop.DBus.Peer", "Ping");
    return bus.call(ping).type() == QDBusMessage::ReplyMessage;
}

TEST(BefehlZufall, FuenfhundertZufaelligeBefehleLassenKlebwerkLaufenUndStehenJeEinmalImProtokoll) {
    static int argc = 1;
    static char name[] = "klebwerk_desktop_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);

    const char* vorgegeben = std::getenv("KLEBWERK_SAAT");
    const unsigned saat = vorgegeben ? static_cast<unsigned>(std::strtoul(vorgegeben, nullptr, 10)) : std::random_device{}();
    std::printf("Saat: %u (wiederholen mit KLEBWERK_SAAT=%u)\n", saat, saat);
    RecordProperty("saat", std::to_string(saat));
    std::mt19937 zufall(saat);

    KlebwerkLauf lauf;
    lauf.schreibeEinstellungen(R"({"testBefehle": true})");
    ASSERT_TRUE(lauf.starte());
    ASSERT_TRUE(warteBis([&] { return lauf.protokollEnthaelt(" Start, Freigabe: "); })) << lauf.protokoll();

    const QDBusMessage ping = QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                             "org.freedesktop.DBus.Peer", "Ping");
    ASSERT_EQ(QDBusConnection::sessionBus().call(ping).type(), QDBusMessage::ReplyMessage);
    std::vector<std::string> erwartet;
    for (int i = 0; i < befehlZahl; ++i) {
        const std::string text = zufallsBefehl(zufall);
        ASSERT_TRUE(sende(text)) << "Saat " << saat;
        erwartet.push_back(erwarteterEintrag(text));
    }
    // A last command that ends whatever mode the random ones started.
    ASSERT_TRUE(sende("abbruch"));
    erwartet.push_back(erwarteterEintrag("abbruch"));

    const bool alleDa = warteBis([&] { return befehlsEintraege(lauf.protokoll()).size() >= erwartet.size(); }, 180.0);
    EXPECT_EQ(waitpid(lauf.pid(), nullptr, WNOHANG), 0) << "Klebwerk has ended; Saat " << saat;
    ASSERT_TRUE(alleDa) << "Saat " << saat << "; logged " << befehlsEintraege(lauf.protokoll()).size();

    // Each command exactly once; the refusal of an overlong one names its size. (The
    // order is not compared: right after the start two commands have been seen swapped.)
    const std::string protokoll = lauf.protokoll();
    auto eintraege = befehlsEintraege(protokoll);
    ASSERT_EQ(eintraege.size(), erwartet.size()) << "Saat " << saat;
    for (std::string& e : eintraege) {
        const std::string abgewiesen = "Testbefehl abgewiesen: ";
        if (e.rfind(abgewiesen, 0) == 0) e = e.substr(0, e.find(" Bytes") + 6);
    }
    std::sort(eintraege.begin(), eintraege.end());
    std::sort(erwartet.begin(), erwartet.end());
    for (size_t i = 0; i < erwartet.size(); ++i) {
        EXPECT_EQ(eintraege[i], erwartet[i]) << "Saat " << saat;
        if (eintraege[i] != erwartet[i]) break;
    }
    ASSERT_FALSE(protokoll.empty());
    EXPECT_EQ(protokoll.back(), '\n');
    for (const std::string& zeile : zeilenVon(protokoll)) {
        EXPECT_TRUE(hatStempel(zeile)) << "an entry broke its line: " << zeile.substr(0, 200) << "; Saat " << saat;
    }
    QJsonParseError fehler{};
    const QJsonDocument einstellungen =
        QJsonDocument::fromJson(QByteArray::fromStdString(liesDatei(lauf.einstellungsDatei())), &fehler);
    EXPECT_EQ(fehler.error, QJsonParseError::NoError) << fehler.errorString().toStdString() << "; Saat " << saat;
    EXPECT_TRUE(einstellungen.isObject()) << "Saat " << saat;
    EXPECT_EQ(lauf.beende(), 0) << "Saat " << saat;
}

}  // namespace
}  // namespace klebwerk
