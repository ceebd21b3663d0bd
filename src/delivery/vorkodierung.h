#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/laufschleife.h"

namespace klebwerk {

// The PNG of a capture, made ahead on the background lane from the moment its file is
// complete, so that the delivery finds it ready instead of decoding and encoding while
// the user waits. Main thread only; the encoding itself runs on the background lane.
class Vorkodierung {
public:
    using Weiter = std::function<void(std::optional<std::string> png)>;

    explicit Vorkodierung(Laufschleife& schleife) : schleife_(schleife) {}
    Vorkodierung(const Vorkodierung&) = delete;
    Vorkodierung& operator=(const Vorkodierung&) = delete;
    ~Vorkodierung();

    // Starts encoding the image file on the background lane, unless it is under way.
    void beginne(const std::string& pfad);

    // Hands the PNG made ahead to `weiter`, once, and forgets it: within this call when
    // it is ready and the file has not changed since it was read; when its encoding is
    // running, as soon as that ends. Hands over nothing (within this call) when there is
    // none: never begun, still waiting for the lane (it is called off), failed, or the
    // file changed. The caller then encodes the file itself.
    void hole(const std::string& pfad, Weiter weiter);

    // Work kept at most: the oldest goes when more is begun.
    static constexpr std::size_t hoechstens = 4;

private:
    // What a file was when it was read: size and modification time.
    struct Stand {
        std::int64_t groesse = -1;
        std::int64_t zeit = 0;
        bool operator==(const Stand&) const = default;
    };
    struct Auftrag {
        std::uint64_t nummer = 0;
        // Taken by whichever side comes first: the lane starting the work, or `hole`
        // calling off work that has not begun.
        std::shared_ptr<std::atomic<bool>> begonnen = std::make_shared<std::atomic<bool>>(false);
        Marke marke;
        bool fertig = false;
        std::optional<std::string> png;
        Stand stand;
        std::vector<Weiter> wartende;
    };

    static Stand standVon(const std::string& pfad);
    void fertig(const std::string& pfad, std::uint64_t nummer, std::optional<std::string> png, Stand stand);

    Laufschleife& schleife_;
    std::map<std::string, Auftrag> auftraege_;
    std::uint64_t naechste_ = 0;
    std::shared_ptr<bool> lebt_ = std::make_shared<bool>(true);
};

}  // namespace klebwerk
