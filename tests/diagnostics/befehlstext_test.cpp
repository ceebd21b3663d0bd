#include <gtest/gtest.h>

#include "diagnostics/befehlstext.h"

namespace klebwerk {
namespace {

TEST(Befehlstext, TeiltAnJedemStrichUndBehaeltLeereTeile) {
    EXPECT_EQ(teileBefehl("pause|1"), (std::vector<std::string>{"pause", "1"}));
    EXPECT_EQ(teileBefehl("ordne|A||B|"), (std::vector<std::string>{"ordne", "A", "", "B", ""}));
    EXPECT_EQ(teileBefehl(""), (std::vector<std::string>{""}));
}

TEST(Befehlstext, ListeMaskiertWasEineZeileBrechenOderFaelschenKoennte) {
    struct Fall {
        std::vector<std::string> teile;
        std::string liste;
    };
    const Fall faelle[] = {
        {{"pause", "1"}, R"(["pause", "1"])"},
        {{""}, R"([""])"},
        {{"ziel", "Chat \"neu\"", "a\\b"}, R"(["ziel", "Chat \"neu\"", "a\\b"])"},
        {{"x\n2026-01-01 00:00:00 Start, Freigabe: true"}, R"(["x\n2026-01-01 00:00:00 Start, Freigabe: true"])"},
        {{"\r\t\x01\x7f"}, R"(["\r\t\u{1}\u{7f}"])"},
        {{"Größe – ✓"}, R"(["Größe – ✓"])"},
    };
    for (const Fall& f : faelle) {
        std::string liste = befehlsListe(f.teile);
        EXPECT_EQ(liste, f.liste);
        EXPECT_EQ(liste.find('\n'), std::string::npos);
    }
}

}  // namespace
}  // namespace klebwerk
