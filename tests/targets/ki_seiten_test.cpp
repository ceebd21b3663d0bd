// Recognising AI chat pages by their address and by window titles.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "basis/einzeilig.h"
#include "targets/ki_seiten.h"

namespace klebwerk {
namespace {

struct AdressFall {
    const char* adresse;
    std::optional<std::string> erwartet;  // absent: no AI chat
};

class KiSeiteVonAdresse : public ::testing::TestWithParam<AdressFall> {};

TEST_P(KiSeiteVonAdresse, ErkenntDenDienstOderNichts) {
    const auto befund = kiSeiteVonAdresse(GetParam().adresse);
    EXPECT_TRUE(befund.gelesen);
    EXPECT_EQ(befund.kiName, GetParam().erwartet) << GetParam().adresse;
}

INSTANTIATE_TEST_SUITE_P(
    Tabelle, KiSeiteVonAdresse,
    ::testing::Values(
        AdressFall{"https://chatgpt.com/c/123", "ChatGPT"}, AdressFall{"https://chat.openai.com/", "ChatGPT"},
        AdressFall{"https://gemini.google.com/app", "Gemini"},
        AdressFall{"https://aistudio.google.com/prompts/new_chat", "AI Studio"},
        AdressFall{"https://notebooklm.google.com/notebook/x", "NotebookLM"},
        AdressFall{"https://claude.ai/new", "Claude"}, AdressFall{"https://www.perplexity.ai/", "Perplexity"},
        AdressFall{"https://grok.com/", "Grok"}, AdressFall{"https://chat.mistral.ai/chat", "Le Chat"},
        AdressFall{"https://copilot.microsoft.com/", "Copilot"},
        AdressFall{"https://m365.cloud.microsoft/chat", "Copilot"},
        AdressFall{"https://chat.deepseek.com/", "DeepSeek"}, AdressFall{"https://chat.qwen.ai/", "Qwen"},
        AdressFall{"https://poe.com/GPT-4o", "Poe"}, AdressFall{"https://www.meta.ai/", "Meta AI"},
        AdressFall{"https://www.kimi.com/", "Kimi"}, AdressFall{"https://you.com/?chatMode=default", "You.com"},
        AdressFall{"https://lmarena.ai/", "LMArena"}, AdressFall{"https://t3.chat/chat/1", "T3 Chat"},
        // Upper case from the page side, a subdomain, a port.
        AdressFall{"https://CLAUDE.AI/chat", "Claude"}, AdressFall{"https://eu.chatgpt.com:8443/", "ChatGPT"},
        // A host that only ends in the same letters, or holds a listed one inside.
        AdressFall{"https://notchatgpt.com/", std::nullopt}, AdressFall{"https://claude.ai.evil.example/", std::nullopt},
        AdressFall{"https://example.com/chatgpt.com", std::nullopt},
        // The model hub's chat lives under one path only.
        AdressFall{"https://huggingface.co/chat/conversation/1", "HuggingChat"},
        AdressFall{"https://huggingface.co/models", std::nullopt},
        // Local files: only the test page counts.
        AdressFall{"file:///tmp/x/browsertest.html", "Testchat"},
        AdressFall{"file:///tmp/browsertest-zwei.html?a=1", "Testchat"},
        AdressFall{"file:///tmp/browsertest/seite.html", std::nullopt},
        AdressFall{"file:///tmp/notizen.html", std::nullopt},
        // No host.
        AdressFall{"about:blank", std::nullopt}, AdressFall{"data:text/html,chatgpt.com", std::nullopt}));

struct GoogleFall {
    const char* adresse;
    bool ki;
};

class GoogleKiModus : public ::testing::TestWithParam<GoogleFall> {};

TEST_P(GoogleKiModus, NurDieSucheDerSuchmaschineMitUdm50) {
    const auto befund = kiSeiteVonAdresse(GetParam().adresse);
    ASSERT_TRUE(befund.gelesen);
    // German interface (no language set in the tests' environment).
    EXPECT_EQ(befund.kiName, GetParam().ki ? std::optional<std::string>("Google KI") : std::nullopt)
        << GetParam().adresse;
}

INSTANTIATE_TEST_SUITE_P(
    Tabelle, GoogleKiModus,
    ::testing::Values(GoogleFall{"https://www.google.com/search?q=katzen&udm=50", true},
                      GoogleFall{"https://www.google.de/search?udm=50", true},
                      GoogleFall{"https://google.co.uk/search?q=x&udm=50&hl=en", true},
                      GoogleFall{"https://www.google.com.br/search?udm=50#frag", true},
                      GoogleFall{"https://www.google.com/search?q=katzen", false},
                      GoogleFall{"https://www.google.com/search?udm=14", false},
                      GoogleFall{"https://www.google.com/webhp?udm=50", false},
                      // The value inside another parameter is no AI mode.
                      GoogleFall{"https://www.google.com/search?q=udm=50", false},
                      GoogleFall{"https://www.google.com/search?q=x&xudm=50", false},
                      // Look-alike hosts.
                      GoogleFall{"https://google.evil.example/search?q=udm=50", false},
                      GoogleFall{"https://google.evil.example/search?udm=50", false},
                      GoogleFall{"https://www.google.com.evil.example/search?udm=50", false},
                      GoogleFall{"https://notgoogle.com/search?udm=50", false},
                      GoogleFall{"https://mail.google.com/search?udm=50", false},
                      GoogleFall{"https://google.xyz/search?udm=50", false}));

TEST(KiSeiteVonAdresseFehler, UnlesbareAdressenGeltenNichtAlsGelesen) {
    for (const char* a : {"", "http://[zerbrochen", "https://exa mple.com/"}) {
        EXPECT_FALSE(kiSeiteVonAdresse(a).gelesen) << a;
        EXPECT_FALSE(hostVonAdresse(a).has_value()) << a;
    }
}

struct TitelFall {
    const char* titel;
    std::optional<std::string> erwartet;
};

class KiSeiteVonTitel : public ::testing::TestWithParam<TitelFall> {};

TEST_P(KiSeiteVonTitel, PraefixOderGedankenstrich) {
    EXPECT_EQ(kiSeiteVonTitel(GetParam().titel), GetParam().erwartet) << GetParam().titel;
}

INSTANTIATE_TEST_SUITE_P(
    Tabelle, KiSeiteVonTitel,
    ::testing::Values(TitelFall{"Projekt X \u2013 Claude - Chromium", "Claude"},
                      TitelFall{"Gemini - Chromium", "Gemini"},
                      TitelFall{"Claude hilft beim Schreiben", "Claude"},
                      TitelFall{"Fragen an Claude heute", std::nullopt},
                      TitelFall{"Projekt - Claude", std::nullopt},
                      TitelFall{"CHATGPT", "ChatGPT"},
                      TitelFall{"Notizen \u2013 le chat", "Le Chat"},
                      TitelFall{"", std::nullopt}));

TEST(HostVonAdresse, OhneWwwUndBegrenzt) {
    EXPECT_EQ(hostVonAdresse("https://www.example.org/suche"), "example.org");
    EXPECT_EQ(hostVonAdresse("https://wwwx.example.org/"), "wwwx.example.org");
    EXPECT_EQ(hostVonAdresse("file:///tmp/a.html"), std::nullopt);
    std::string lang = "https://";
    for (int i = 0; i < 5; ++i) lang += std::string(40, 'a' + i) + ".";
    lang += "example/";
    const auto host = hostVonAdresse(lang);
    ASSERT_TRUE(host);
    EXPECT_LE(host->size(), 100u + 3u);
}

TEST(Einzeilig, SteuerzeichenUndZeilentrennerWerdenLeerzeichenUndLangesWirdGekuerzt) {
    EXPECT_EQ(einzeilig("a\nb\rc\td\x7f" "e", 100), "a b c d e");
    EXPECT_EQ(einzeilig("a\u2028b\u2029c\u0085d", 100), "a b c d");
    // Cut before a character that would not fit whole: "ä" is two bytes.
    EXPECT_EQ(einzeilig("abä", 3), "ab\u2026");
    EXPECT_EQ(einzeilig("abc", 3), "abc");
}

}  // namespace
}  // namespace klebwerk
