#pragma once

#include <functional>
#include <string>

#include <QObject>
#include <QString>

#include "platform/befehlskanal.h"

namespace klebwerk::linuxdesk {

// Receives the signal `befehl` (one string) of interface "de.quenmoral.klebwerk" at
// path "/de/quenmoral/klebwerk" on the session bus.
class DbusEmpfaenger : public QObject {
    Q_OBJECT
public:
    std::function<void(const std::string&)> handler;
public slots:
    void befehl(const QString& text);
};

class DbusBefehlskanal : public Befehlskanal {
public:
    Marke hoere(std::function<void(const std::string&)> handler) override;
};

}  // namespace klebwerk::linuxdesk
