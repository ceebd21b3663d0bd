#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace klebwerk::test {

// Polls `bedingung` until it holds or `frist` seconds have passed.
inline bool warteBis(const std::function<bool()>& bedingung, double frist = 15.0) {
    auto ende = std::chrono::steady_clock::now() + std::chrono::duration<double>(frist);
    while (true) {
        if (bedingung()) return true;
        if (std::chrono::steady_clock::now() > ende) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

}  // namespace klebwerk::test
