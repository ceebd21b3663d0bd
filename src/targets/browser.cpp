#include "targets/browser.h"

namespace klebwerk {

const std::set<std::string>& browserKennungen() {
    static const std::set<std::string> kennungen = {
        "com.apple.Safari",          "com.google.Chrome",      "com.google.Chrome.beta",  "org.mozilla.firefox",
        "company.thebrowser.Browser", "company.thebrowser.dia", "com.microsoft.edgemac",   "com.brave.Browser",
        "com.openai.atlas",          "ai.perplexity.comet",    "com.operasoftware.Opera", "com.vivaldi.Vivaldi",
        "org.chromium.Chromium",
    };
    return kennungen;
}

bool istBrowser(Arbeitsplatz& arbeitsplatz, int pid) {
    auto a = arbeitsplatz.anwendung(pid);
    return a && !a->kennung.empty() && browserKennungen().count(a->kennung) > 0;
}

}  // namespace klebwerk
