#include "basis/prozesswerte.h"

#include <atomic>
#include <mutex>

namespace klebwerk {
namespace {
std::mutex ordnerSperre;
std::string ordnerWert;
std::atomic<bool> englischWert{false};
}  // namespace

std::string datenOrdner() {
    std::lock_guard lock(ordnerSperre);
    return ordnerWert;
}

void setzeDatenOrdner(std::string ordner) {
    std::lock_guard lock(ordnerSperre);
    ordnerWert = std::move(ordner);
}

bool englisch() { return englischWert.load(); }
void setzeEnglisch(bool an) { englischWert.store(an); }

}  // namespace klebwerk
