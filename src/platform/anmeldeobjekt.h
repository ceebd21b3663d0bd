#pragma once

namespace klebwerk {

// Starting with the user's session.
class Anmeldeobjekt {
public:
    // The platform's status codes.
    static constexpr int nichtAngemeldet = 0;
    static constexpr int aktiv = 1;
    static constexpr int brauchtZustimmung = 2;
    static constexpr int nichtGefunden = 3;

    virtual ~Anmeldeobjekt() = default;
    virtual int status() = 0;
    virtual bool anmelden() = 0;
    virtual bool abmelden() = 0;
};

}  // namespace klebwerk
