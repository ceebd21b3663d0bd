#pragma once

#include <string>

namespace klebwerk {

// The short on-screen hint at the top of the screen.
class Hinweis {
public:
    void zeige(const std::string& text, double dauer);

    // The last hint shown and how many were shown, for the status and for tests.
    const std::string& letzterText() const { return letzterText_; }
    int anzahl() const { return anzahl_; }

private:
    std::string letzterText_;
    int anzahl_ = 0;
};

}  // namespace klebwerk
