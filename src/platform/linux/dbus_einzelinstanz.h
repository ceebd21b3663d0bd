#pragma once

#include <functional>
#include <memory>

#include <QObject>

#include "platform/einzelinstanz.h"

namespace klebwerk::linuxdesk {

// Answers the method "Zeige" of interface "de.quenmoral.klebwerk.Instanz" at path
// "/de/quenmoral/klebwerk/Instanz".
class DbusInstanzEmpfaenger : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "de.quenmoral.klebwerk.Instanz")
public:
    std::function<void()> gerufen;
public slots:
    Q_SCRIPTABLE void Zeige();
};

// The name on the session bus is the application id, "de.quenmoral.klebwerk"; the bus
// frees it when the holder's connection ends, so a crashed instance never blocks a start.
class DbusEinzelinstanz : public Einzelinstanz {
public:
    ~DbusEinzelinstanz() override;
    Anspruch beanspruche(std::function<void()> gerufen) override;
    Ruf rufe() override;
    void gibAuf() override;

private:
    std::unique_ptr<DbusInstanzEmpfaenger> empfaenger_;
    bool eigen_ = false;
};

// Waits until nobody holds the name any more, at most `frist` seconds (for the relaunch
// helper, which has no event loop); false when it is still held.
bool warteBisInstanzFrei(double frist);

}  // namespace klebwerk::linuxdesk
