#include "ax/rollen.h"

namespace klebwerk {

const std::set<std::string>& knopfRollen() {
    static const std::set<std::string> rollen{"AXButton",      "AXMenuButton", "AXPopUpButton", "AXCheckBox",
                                              "AXRadioButton", "AXLink",       "AXMenuItem"};
    return rollen;
}

const std::set<std::string>& eingabeRollen() {
    static const std::set<std::string> rollen{"AXTextArea", "AXTextField", "AXComboBox"};
    return rollen;
}

}  // namespace klebwerk
