#include "app/zahltext.h"

#include <charconv>
#include <cmath>

namespace klebwerk {

std::string dezimalText(double wert) {
    char puffer[64];
    auto [ende, fehler] = std::to_chars(puffer, puffer + sizeof puffer, wert);
    if (fehler != std::errc()) return "0.0";
    std::string text(puffer, ende);
    if (std::isfinite(wert) && text.find_first_of(".e") == std::string::npos) text += ".0";
    return text;
}

std::string punktText(Punkt p) { return "(" + dezimalText(p.x) + ", " + dezimalText(p.y) + ")"; }

namespace {

std::string kurzerText(double wert) {
    char puffer[64];
    auto [ende, fehler] = std::to_chars(puffer, puffer + sizeof puffer, wert);
    if (fehler != std::errc()) return "0";
    return std::string(puffer, ende);
}

}  // namespace

std::string rechteckText(const Rechteck& r) {
    return "{{" + kurzerText(r.x) + ", " + kurzerText(r.y) + "}, {" + kurzerText(r.breite) + ", " +
           kurzerText(r.hoehe) + "}}";
}

std::optional<double> liesZahl(const std::string& text) {
    if (text.empty()) return std::nullopt;
    const char* anfang = text.data();
    if (*anfang == '+') ++anfang;
    double wert = 0;
    auto [ende, fehler] = std::from_chars(anfang, text.data() + text.size(), wert);
    if (fehler != std::errc() || ende != text.data() + text.size() || !std::isfinite(wert)) return std::nullopt;
    return wert;
}

}  // namespace klebwerk
