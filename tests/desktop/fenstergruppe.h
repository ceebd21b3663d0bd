#pragma once

// The window group fixture (tests/fixtures/fenstergruppe.cpp) as a child of a test.

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <QProcess>
#include <QStringList>

namespace klebwerk::test {

// One process of the window group fixture, started under a program name of its own
// (a link to the one executable, as an interpreter runs scripts): its windows carry
// that name as their window class.
class Gruppe {
public:
    Gruppe(const std::filesystem::path& ordner, const std::string& programm, const QStringList& titel) {
        const std::filesystem::path link = ordner / programm;
        std::error_code f;
        std::filesystem::create_symlink(KLEBWERK_FENSTERGRUPPE, link, f);
        auto u = QProcessEnvironment::systemEnvironment();
        u.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        u.insert("QT_ACCESSIBILITY", "1");
        u.insert("QT_QPA_PLATFORM", "xcb");
        p_.setProcessEnvironment(u);
        p_.setProgram(QString::fromStdString(link.string()));
        p_.setArguments(titel);
        p_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p_.start();
        p_.waitForStarted(5000);
    }
    ~Gruppe() { beende(); }
    int pid() const { return static_cast<int>(p_.processId()); }
    void befehl(const std::string& zeile) {
        p_.write(QByteArray::fromStdString(zeile + "\n"));
        p_.waitForBytesWritten(2000);
    }
    // The X window of a title once the window was shown; 0 before.
    std::uint32_t fenster(const std::string& titel) {
        if (p_.state() != QProcess::NotRunning) p_.waitForReadyRead(20);
        while (p_.canReadLine()) zeilen_.push_back(p_.readLine().trimmed().toStdString());
        for (const auto& z : zeilen_) {
            const auto raum = z.find(' ', 8);
            if (z.rfind("fenster ", 0) == 0 && raum != std::string::npos && z.substr(raum + 1) == titel)
                return static_cast<std::uint32_t>(std::stoull(z.substr(8, raum - 8)));
        }
        return 0;
    }
    void beende() {
        if (p_.state() == QProcess::NotRunning) return;
        p_.terminate();
        if (!p_.waitForFinished(3000)) {
            p_.kill();
            p_.waitForFinished(3000);
        }
    }

private:
    QProcess p_;
    std::vector<std::string> zeilen_;
};

}  // namespace klebwerk::test
