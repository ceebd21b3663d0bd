#pragma once

#include <functional>
#include <string>
#include <vector>

namespace klebwerk {

// One item of the status menu as the controller builds it: the toolkit's menu is made
// from this each time it opens, and the test file "menue.txt" is written from it.
struct MenueEintrag {
    enum class Art { aktion, text, trenner };
    Art art = Art::aktion;
    std::string titel;
    bool haken = false;
    // A key equivalent in the toolkit's notation ("Ctrl+Alt+S"); empty for none.
    std::string kuerzel;
    std::function<void()> aktion;
    std::vector<MenueEintrag> unter;

    static MenueEintrag trenner() { return {Art::trenner, "", false, "", {}, {}}; }
    static MenueEintrag text(std::string titel) { return {Art::text, std::move(titel), false, "", {}, {}}; }
    static MenueEintrag knopf(std::string titel, std::function<void()> aktion, bool haken = false) {
        return {Art::aktion, std::move(titel), haken, "", std::move(aktion), {}};
    }
};

// "menue.txt": per item "---" for a separator, else "✓ " or two spaces and the title,
// with " ▸ N Einträge" for an item with a submenu.
std::string menueText(const std::vector<MenueEintrag>& menue);

// The target's name as the status item shows it: more than 18 characters are cut to
// 17 and "…", never inside a character.
std::string leistenName(const std::string& name);

}  // namespace klebwerk
