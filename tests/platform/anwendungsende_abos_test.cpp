#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/linux/anwendungsende_abos.h"
#include "platform/sim/virtuelle_uhr.h"

namespace klebwerk::linuxdesk {
namespace {

Anwendung anwendungMit(int pid) {
    Anwendung a;
    a.pid = pid;
    return a;
}

TEST(AnwendungsendeAbos, RuftAufDemHauptfadenInReihenfolgeUndUeberspringtEinenVorherAufgehobenen) {
    sim::VirtuelleUhr uhr;
    AnwendungsendeAbos abos(uhr);
    std::vector<std::string> aufrufe;
    Marke zweite;
    Marke erste = abos.abonniere([&](const Anwendung& a) {
        aufrufe.push_back("erste " + std::to_string(a.pid));
        zweite.aufheben();
    });
    zweite = abos.abonniere([&](const Anwendung& a) { aufrufe.push_back("zweite " + std::to_string(a.pid)); });
    Marke dritte = abos.abonniere([&](const Anwendung& a) { aufrufe.push_back("dritte " + std::to_string(a.pid)); });

    abos.melde(anwendungMit(42));
    EXPECT_TRUE(aufrufe.empty()) << "callbacks run later on the main thread, not inside the report";
    uhr.laufeFaelliges();
    EXPECT_EQ(aufrufe, (std::vector<std::string>{"erste 42", "dritte 42"}));
}

TEST(AnwendungsendeAbos, MeldungUndMarkeTunNachDemEndeDerAbosNichts) {
    sim::VirtuelleUhr uhr;
    bool gerufen = false;
    Marke marke;
    {
        AnwendungsendeAbos abos(uhr);
        marke = abos.abonniere([&](const Anwendung&) { gerufen = true; });
        abos.melde(anwendungMit(7));
    }
    uhr.laufeFaelliges();
    EXPECT_FALSE(gerufen);
    marke.aufheben();
}

}  // namespace
}  // namespace klebwerk::linuxdesk
