#include "delivery/zwischenlager.h"

#include <filesystem>
#include <system_error>

#include <sys/stat.h>

namespace klebwerk {

namespace fs = std::filesystem;

std::optional<std::string> legeKopieAn(const std::string& zwischenlager, const std::string& aufnahme) {
    std::error_code f;
    fs::create_directories(zwischenlager, f);
    ::chmod(zwischenlager.c_str(), 0700);
    fs::path kopie = fs::path(zwischenlager) / fs::path(aufnahme).filename();
    fs::remove_all(kopie, f);
    if (!fs::copy_file(aufnahme, kopie, fs::copy_options::overwrite_existing, f) || f) return std::nullopt;
    return kopie.string();
}

void raeumeAuf(const std::string& zwischenlager, std::chrono::system_clock::time_point jetzt) {
    std::error_code f;
    fs::directory_iterator it(zwischenlager, f);
    if (f) return;
    const auto grenze = jetzt - std::chrono::hours(24);
    for (const auto& eintrag : it) {
        struct stat st{};
        if (::lstat(eintrag.path().c_str(), &st) != 0) continue;
        auto geaendert = std::chrono::system_clock::from_time_t(st.st_mtim.tv_sec) +
                         std::chrono::duration_cast<std::chrono::system_clock::duration>(
                             std::chrono::nanoseconds(st.st_mtim.tv_nsec));
        if (geaendert < grenze) fs::remove_all(eintrag.path(), f);
    }
}

}  // namespace klebwerk
