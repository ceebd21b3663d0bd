#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace klebwerk {

struct DateiEintrag {
    std::string name;
    bool regulaer = false;
    bool ordner = false;
    bool verweis = false;  // a symbolic link
};

struct DateiStand {
    std::int64_t groesse = 0;
    std::chrono::system_clock::time_point geaendert;
    // Birth time; absent when the file system records none.
    std::optional<std::chrono::system_clock::time_point> entstanden;
    bool regulaer = false;
    bool ordner = false;
    bool verweis = false;  // a symbolic link (never followed)
};

// File information, a service of its own so that tests can state it exactly.
class Dateiinfo {
public:
    virtual ~Dateiinfo() = default;
    // The entries of a folder (hidden ones included, "." and ".." not); false and the
    // system's error text when it cannot be read.
    virtual bool liste(const std::string& ordner, std::vector<DateiEintrag>& eintraege, std::string& fehler) = 0;
    // The state of a file, links not followed; absent when it does not exist or cannot be read.
    virtual std::optional<DateiStand> stand(const std::string& pfad) = 0;
    // A user extended attribute, by its name without namespace; absent when missing or unsupported.
    virtual std::optional<std::string> attribut(const std::string& pfad, const std::string& name) = 0;
};

}  // namespace klebwerk
