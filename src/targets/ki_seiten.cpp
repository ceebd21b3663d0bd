#include "targets/ki_seiten.h"

#include <set>

#include <QString>
#include <QUrl>
#include <QUrlQuery>

#include "app/sprache.h"

namespace klebwerk {

namespace {

constexpr std::size_t hoechsteHostlaenge = 100;

// The country domains under which the search engine serves its own pages.
const std::set<std::string, std::less<>>& googleLaenderdomains() {
    static const std::set<std::string, std::less<>> domains = {
        "com", "ad", "ae", "com.af", "com.ag", "al", "am", "co.ao", "com.ar", "as", "at", "com.au", "az", "ba",
        "com.bd", "be", "bf", "bg", "com.bh", "bi", "bj", "com.bn", "com.bo", "com.br", "bs", "bt", "co.bw", "by",
        "com.bz", "ca", "cat", "cd", "cf", "cg", "ch", "ci", "co.ck", "cl", "cm", "cn", "com.co", "co.cr", "com.cu",
        "cv", "com.cy", "cz", "de", "dj", "dk", "dm", "com.do", "dz", "com.ec", "ee", "com.eg", "es", "com.et", "fi",
        "com.fj", "fm", "fr", "ga", "ge", "gg", "com.gh", "com.gi", "gl", "gm", "gr", "com.gt", "gy", "com.hk", "hn",
        "hr", "ht", "hu", "co.id", "ie", "co.il", "im", "co.in", "iq", "is", "it", "je", "com.jm", "jo", "co.jp",
        "co.ke", "com.kh", "ki", "kg", "co.kr", "com.kw", "kz", "la", "com.lb", "li", "lk", "co.ls", "lt", "lu", "lv",
        "com.ly", "co.ma", "md", "me", "mg", "mk", "ml", "com.mm", "mn", "com.mt", "mu", "mv", "mw", "com.mx",
        "com.my", "co.mz", "com.na", "com.ng", "com.ni", "ne", "nl", "no", "com.np", "nr", "nu", "co.nz", "com.om",
        "com.pa", "com.pe", "com.pg", "com.ph", "com.pk", "pl", "pn", "com.pr", "ps", "pt", "com.py", "com.qa", "ro",
        "rs", "ru", "rw", "com.sa", "com.sb", "sc", "se", "com.sg", "sh", "si", "sk", "com.sl", "sm", "sn", "so",
        "sr", "st", "com.sv", "td", "tg", "co.th", "com.tj", "tl", "tm", "tn", "to", "com.tr", "tt", "com.tw",
        "co.tz", "com.ua", "co.ug", "co.uk", "com.uy", "co.uz", "com.vc", "co.ve", "co.vi", "com.vn", "vu", "ws",
        "co.za", "co.zm", "co.zw",
    };
    return domains;
}

const std::string huggingChatHost = "huggingface.co";

std::optional<QUrl> alsUrl(const std::string& adresse) {
    if (adresse.empty()) return std::nullopt;
    QUrl url(QString::fromStdString(adresse), QUrl::StrictMode);
    if (!url.isValid()) return std::nullopt;
    return url;
}

std::string hostVon(const QUrl& url) { return url.host(QUrl::FullyEncoded).toLower().toStdString(); }

bool istGoogleKi(const QUrl& url, const std::string& host) {
    if (!istGoogleSuchhost(host) || !url.path().startsWith(QLatin1String("/search"))) return false;
    return QUrlQuery(url).allQueryItemValues(QStringLiteral("udm")).contains(QStringLiteral("50"));
}

}  // namespace

const std::vector<KiSeite>& kiSeiten() {
    static const std::vector<KiSeite> seiten = {
        {"chatgpt.com", "ChatGPT"},
        {"chat.openai.com", "ChatGPT"},
        {"gemini.google.com", "Gemini"},
        {"aistudio.google.com", "AI Studio"},
        {"notebooklm.google.com", "NotebookLM"},
        {"claude.ai", "Claude"},
        {"perplexity.ai", "Perplexity"},
        {"grok.com", "Grok"},
        {"chat.mistral.ai", "Le Chat"},
        {"copilot.microsoft.com", "Copilot"},
        {"m365.cloud.microsoft", "Copilot"},
        {"chat.deepseek.com", "DeepSeek"},
        {"chat.qwen.ai", "Qwen"},
        {"poe.com", "Poe"},
        {"meta.ai", "Meta AI"},
        {huggingChatHost, "HuggingChat"},
        {"kimi.com", "Kimi"},
        {"you.com", "You.com"},
        {"lmarena.ai", "LMArena"},
        {"t3.chat", "T3 Chat"},
    };
    return seiten;
}

const std::vector<std::string>& titelNamen() {
    static const std::vector<std::string> namen = {"ChatGPT", "Gemini", "Claude",  "Perplexity",
                                                   "Grok",    "Le Chat", "Copilot", "DeepSeek"};
    return namen;
}

bool istGoogleSuchhost(std::string_view host) {
    if (host.starts_with("www.")) host.remove_prefix(4);
    if (!host.starts_with("google.")) return false;
    host.remove_prefix(7);
    return googleLaenderdomains().count(host) > 0;
}

Adressbefund kiSeiteVonAdresse(const std::string& adresse) {
    auto url = alsUrl(adresse);
    if (!url) return {};
    Adressbefund befund{true, std::nullopt};
    if (url->isLocalFile()) {
        if (url->fileName().startsWith(QLatin1String("browsertest"))) befund.kiName = "Testchat";
        return befund;
    }
    const std::string host = hostVon(*url);
    if (host.empty()) return befund;
    if (host == huggingChatHost) {
        if (url->path().startsWith(QLatin1String("/chat"))) befund.kiName = "HuggingChat";
        return befund;
    }
    if (istGoogleKi(*url, host)) {
        befund.kiName = L("Google KI", "Google AI");
        return befund;
    }
    for (const KiSeite& s : kiSeiten()) {
        const bool gleich = host == s.host;
        const bool darunter = host.size() > s.host.size() && host.ends_with(s.host) &&
                              host[host.size() - s.host.size() - 1] == '.';
        if (gleich || darunter) {
            befund.kiName = s.name;
            break;
        }
    }
    return befund;
}

std::optional<std::string> kiSeiteVonTitel(const std::string& titel) {
    const QString klein = QString::fromStdString(titel).toLower();
    for (const std::string& name : titelNamen()) {
        const QString n = QString::fromStdString(name).toLower();
        if (klein.startsWith(n) || klein.contains(QStringLiteral("\u2013 ") + n)) return name;
    }
    return std::nullopt;
}

std::optional<std::string> hostVonAdresse(const std::string& adresse) {
    auto url = alsUrl(adresse);
    if (!url) return std::nullopt;
    std::string host = hostVon(*url);
    if (host.starts_with("www.")) host.erase(0, 4);
    if (host.empty()) return std::nullopt;
    return einzeilig(host, hoechsteHostlaenge);
}

}  // namespace klebwerk
