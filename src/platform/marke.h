#pragma once

#include <functional>
#include <utility>

namespace klebwerk {

// Ownership of something that runs later: delayed work, a timer, an observer,
// a subscription. Dropping the token cancels it; after that its callback never runs.
class Marke {
public:
    Marke() = default;
    explicit Marke(std::function<void()> aufheben) : aufheben_(std::move(aufheben)) {}
    Marke(Marke&& andere) noexcept : aufheben_(std::exchange(andere.aufheben_, nullptr)) {}
    Marke& operator=(Marke&& andere) noexcept {
        if (this != &andere) {
            aufheben();
            aufheben_ = std::exchange(andere.aufheben_, nullptr);
        }
        return *this;
    }
    Marke(const Marke&) = delete;
    Marke& operator=(const Marke&) = delete;
    ~Marke() { aufheben(); }

    // Cancels now; the token is empty afterwards.
    void aufheben() {
        if (auto f = std::exchange(aufheben_, nullptr)) f();
    }
    bool aktiv() const { return static_cast<bool>(aufheben_); }

private:
    std::function<void()> aufheben_;
};

}  // namespace klebwerk
