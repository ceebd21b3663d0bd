#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace klebwerk::linuxdesk {

// Watches processes for their end through pidfds, on a thread of its own: `beendet`
// runs there once for each watched process that ends. Dropping the object ends the
// watch without further calls.
class Prozessende {
public:
    explicit Prozessende(std::function<void(int pid)> beendet);
    ~Prozessende();
    Prozessende(const Prozessende&) = delete;
    Prozessende& operator=(const Prozessende&) = delete;

    // Watches the process until it ends. False when the kernel gives no pidfd for it
    // (an old kernel, a process that has ended already, another pid namespace).
    bool beobachte(int pid);
    bool beobachtet(int pid);

private:
    void laufe();
    std::function<void(int)> beendet_;
    std::mutex sperre_;
    std::map<int, int> pidfds_;  // pid → pidfd
    int wecker_ = -1;
    bool ende_ = false;
    std::thread thread_;
};

}  // namespace klebwerk::linuxdesk
