#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/plattform.h"

namespace klebwerk {

// Watches the capture folders and reports every finished capture once.
class Waechter {
public:
    explicit Waechter(Plattform& plattform);

    // Called with the path of each new capture.
    std::function<void(const std::string& pfad)> neu;
    // Whether screen recordings count.
    std::function<bool()> videosErlaubt;

    void start();

    // The main capture folder.
    std::string ordner;
    std::vector<std::string> ordnerListe;

private:
    Plattform& plattform_;
};

}  // namespace klebwerk
