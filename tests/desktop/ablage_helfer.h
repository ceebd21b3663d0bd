#pragma once

// The tests' own X client for the clipboard (tests/fixtures/ablage_helfer.cpp) and
// xclip as another application that reads.

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>

#include "desktop/klebwerk_lauf.h"
#include "platform/zwischenablage.h"

namespace klebwerk::test {

// Starts the helper in a role; once it has said "bereit", it owns what it should.
inline std::unique_ptr<Kindprozess> starteAblageHelfer(const std::vector<std::string>& argumente) {
    std::vector<std::string> befehl{KLEBWERK_ABLAGE_HELFER};
    befehl.insert(befehl.end(), argumente.begin(), argumente.end());
    auto p = std::make_unique<Kindprozess>(befehl);
    if (!warteBis([&] { return p->ausgabe().find("bereit\n") != std::string::npos; })) return nullptr;
    return p;
}

// What xclip reads from the clipboard under `ziel` (bounded: a silent owner holds it up).
inline std::string xclipLies(const std::string& ziel) {
    QProcess p;
    p.start("xclip", {"-selection", "clipboard", "-o", "-t", QString::fromStdString(ziel)});
    p.waitForFinished(15000);
    QByteArray b = p.readAllStandardOutput();
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}

// The clipboard as another application sees it: the offered content targets in
// order, each with its bytes.
inline AblageEintrag fremdGelesen() {
    AblageEintrag e;
    const QStringList ziele = QString::fromStdString(xclipLies("TARGETS")).split('\n', Qt::SkipEmptyParts);
    for (const QString& z : ziele) {
        if (z == "TARGETS" || z == "TIMESTAMP" || z == "MULTIPLE" || z == "SAVE_TARGETS") continue;
        e.emplace_back(z.toStdString(), xclipLies(z.toStdString()));
    }
    return e;
}

// A whole read of `ablage`, the main thread's events running meanwhile.
inline AblageLesung liesJetzt(Zwischenablage& ablage, double frist = 30.0) {
    std::optional<AblageLesung> ergebnis;
    Marke m = ablage.lies([&](AblageLesung l) { ergebnis = std::move(l); });
    warteBis(
        [&] {
            QCoreApplication::processEvents();
            return ergebnis.has_value();
        },
        frist);
    return ergebnis.value_or(AblageLesung{{}, "kein Ergebnis im Test"});
}

// Runs the main thread's events until `bedingung` holds.
inline bool warteMitEreignissen(const std::function<bool()>& bedingung, double frist = 15.0) {
    return warteBis(
        [&] {
            QCoreApplication::processEvents();
            return bedingung();
        },
        frist);
}

}  // namespace klebwerk::test
