#include "umgebung.h"

#include <cctype>

#include <QApplication>
#include <QJsonDocument>

#include "basis/prozesswerte.h"

namespace klebwerk::fuzz {

void starteQt() {
    if (QApplication::instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "klebwerk_fuzz";
    static char* argv[] = {name, nullptr};
    // Never destroyed: the controllers of the targets live until the process ends, with
    // their widgets, and a QApplication torn down under them at exit would crash.
    new QApplication(argc, argv);
}

namespace {

bool hatStempel(const std::string& zeile) {
    // "2026-12-11 11:20:00 "
    static const char muster[] = "dddd-dd-dd dd:dd:dd ";
    if (zeile.size() < sizeof muster - 1) return false;
    for (size_t i = 0; i + 1 < sizeof muster; ++i) {
        const unsigned char c = static_cast<unsigned char>(zeile[i]);
        if (muster[i] == 'd' ? !std::isdigit(c) : c != static_cast<unsigned char>(muster[i])) return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> protokollZeilen(const std::string& protokoll, std::string_view eingabe) {
    std::vector<std::string> zeilen;
    if (protokoll.empty()) return zeilen;
    if (protokoll.back() != '\n') verletzt("das Protokoll endet mitten in einer Zeile", eingabe);
    size_t anfang = 0;
    while (anfang < protokoll.size()) {
        const size_t ende = protokoll.find('\n', anfang);
        std::string zeile = protokoll.substr(anfang, ende - anfang);
        if (!hatStempel(zeile)) verletzt("Protokollzeile ohne Zeitstempel: " + zeile.substr(0, 200), eingabe);
        zeilen.push_back(zeile.substr(20));
        anfang = ende + 1;
    }
    return zeilen;
}

bool istJsonObjekt(const std::string& inhalt) {
    QJsonParseError fehler{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(inhalt), &fehler);
    return fehler.error == QJsonParseError::NoError && doc.isObject();
}

void leereProtokoll() {
    if (std::FILE* f = std::fopen((datenOrdner() + "/log.txt").c_str(), "w")) std::fclose(f);
}

}  // namespace klebwerk::fuzz
