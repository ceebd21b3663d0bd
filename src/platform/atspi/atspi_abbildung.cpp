#include "platform/atspi/atspi_abbildung.h"

#include <algorithm>
#include <map>

namespace klebwerk::atspi {

// ---------------------------------------------------------------------------------
// The mapping between the system's accessibility vocabulary and AT-SPI, in one place.
//
// Attributes (read by AtspiZugaenglichkeit::lies / liesMehrere):
//   AXRole              GetRole + GetState, through the role table below; a direct child
//                       of the application is "AXWindow"
//   (an element without the state "visible" reads as absent wherever its state is
//   read, a top-level window excepted: toolkits keep hidden widgets in the tree)
//   AXSubrole           "AXStandardWindow" for a top-level window paired with a normal
//                       X window (layer 0); "AXDialog" for role "dialog"
//   AXTitle             property Name (a window's title, a button's caption)
//   AXDescription       property Description (so a button's label is its name unless it
//                       carries a description)
//   AXHelp              not read (absent): Qt has no HelpText and fails on unknown properties
//   AXValue             Text.GetText of the whole text (text inputs, labels)
//   AXChildren          GetChildren
//   AXParent            property Parent (the application element for a window)
//   AXWindows           the application's direct children (top-level windows)
//   AXWindow            the top-level ancestor
//   AXFocusedWindow     the application's top-level child in state "active", else its first
//   AXFocusedUIElement  the element in state "focused" (Collection query, else a bounded walk)
//   AXFocused           state "focused" (writable: Component.GrabFocus); AXFocusable ↔ "focusable"
//   AXEnabled           state "enabled" or "sensitive"
//   AXMain              state "active" of a window (writable: activation by the window manager)
//   AXFrontmost         the application is the frontmost (writable: activation)
//   AXPosition, AXSize  Component.GetExtents in screen coordinates
//   AXURL               document attribute "URI" (Chromium) or "DocURL" (Firefox) of a web area
//   AXDOMClassList      object attribute "class", split at blanks
// Actions: AXPress is the element's press/click action (names below); AXRaise raises the
// paired X window through the window manager.
// ---------------------------------------------------------------------------------

namespace {

// AtspiRole, in number order.
const char* const rollenNamen[] = {
    "invalid", "accelerator label", "alert", "animation", "arrow", "calendar", "canvas", "check box",
    "check menu item", "color chooser", "column header", "combo box", "date editor", "desktop icon",
    "desktop frame", "dial", "dialog", "directory pane", "drawing area", "file chooser", "filler",
    "focus traversable", "font chooser", "frame", "glass pane", "html container", "icon", "image",
    "internal frame", "label", "layered pane", "list", "list item", "menu", "menu bar", "menu item",
    "option pane", "page tab", "page tab list", "panel", "password text", "popup menu", "progress bar",
    "push button", "radio button", "radio menu item", "root pane", "row header", "scroll bar", "scroll pane",
    "separator", "slider", "spin button", "split pane", "status bar", "table", "table cell",
    "table column header", "table row header", "tearoff menu item", "terminal", "text", "toggle button",
    "tool bar", "tool tip", "tree", "tree table", "unknown", "viewport", "window", "extended", "header",
    "footer", "paragraph", "ruler", "application", "autocomplete", "editbar", "embedded", "entry", "chart",
    "caption", "document frame", "heading", "page", "section", "redundant object", "form", "link",
    "input method window", "table row", "tree item", "document spreadsheet", "document presentation",
    "document text", "document web", "document email", "comment", "list box", "grouping", "image map",
    "notification", "info bar", "level bar", "title bar", "block quote", "audio", "video", "definition",
    "article", "landmark", "log", "marquee", "math", "rating", "timer", "static", "math fraction",
    "math root", "subscript", "superscript", "description list", "description term", "description value",
    "footnote", "content deletion", "content insertion", "mark", "suggestion", "push button menu",
};
constexpr std::uint32_t rollenAnzahl = sizeof rollenNamen / sizeof rollenNamen[0];

// Roles whose elements are text inputs when they are editable.
const std::set<std::string> textTraeger{"entry", "text", "password text", "terminal", "paragraph",
                                        "section", "document text", "editbar", "autocomplete"};

// AT-SPI role → role of the system, for elements that are no text input.
const std::map<std::string, std::string> rollenTabelle{
    {"push button", "AXButton"},         // with state "has popup": AXMenuButton
    {"push button menu", "AXMenuButton"},
    {"toggle button", "AXCheckBox"},
    {"check box", "AXCheckBox"},
    {"radio button", "AXRadioButton"},
    {"page tab", "AXRadioButton"},
    {"link", "AXLink"},
    {"menu item", "AXMenuItem"},
    {"check menu item", "AXMenuItem"},
    {"radio menu item", "AXMenuItem"},
    {"tearoff menu item", "AXMenuItem"},
    {"combo box", "AXPopUpButton"},      // editable: AXComboBox
    {"entry", "AXTextField"},            // multi-line: AXTextArea
    {"password text", "AXTextField"},
    {"spin button", "AXIncrementor"},
    {"document web", "AXWebArea"},
    {"document frame", "AXWebArea"},
    {"label", "AXStaticText"},
    {"static", "AXStaticText"},
    {"text", "AXStaticText"},
    {"caption", "AXStaticText"},
    {"heading", "AXHeading"},
    {"image", "AXImage"},
    {"icon", "AXImage"},
    {"list", "AXList"},
    {"list box", "AXList"},
    {"list item", "AXGroup"},
    {"menu", "AXMenu"},
    {"popup menu", "AXMenu"},
    {"menu bar", "AXMenuBar"},
    {"tool bar", "AXToolbar"},
    {"table", "AXTable"},
    {"tree table", "AXOutline"},
    {"tree", "AXOutline"},
    {"table row", "AXRow"},
    {"table cell", "AXCell"},
    {"scroll pane", "AXScrollArea"},
    {"scroll bar", "AXScrollBar"},
    {"slider", "AXSlider"},
    {"progress bar", "AXProgressIndicator"},
    {"level bar", "AXLevelIndicator"},
    {"separator", "AXSplitter"},
    {"page tab list", "AXTabGroup"},
    {"dialog", "AXWindow"},
    {"frame", "AXWindow"},
    {"window", "AXWindow"},
    {"application", "AXApplication"},
    {"unknown", "AXUnknown"},
};

const std::set<std::string> gruppenRollen{"panel", "filler", "section", "paragraph", "grouping", "form",
                                          "article", "landmark", "block quote", "html container",
                                          "viewport", "layered pane", "root pane", "split pane",
                                          "internal frame", "status bar", "header", "footer",
                                          "description list", "log", "marquee", "embedded",
                                          "redundant object", "mark", "definition", "note"};

}  // namespace

std::string atspiRollenName(std::uint32_t rolle) { return rolle < rollenAnzahl ? rollenNamen[rolle] : ""; }

std::optional<std::uint32_t> atspiRollenNummer(const std::string& name) {
    for (std::uint32_t i = 0; i < rollenAnzahl; ++i) {
        if (name == rollenNamen[i]) return i;
    }
    return std::nullopt;
}

bool istVerborgen(Zustaende z, bool obersteEbene) { return !obersteEbene && !z.hat(zustandSichtbar); }

std::optional<std::string> axRolle(std::uint32_t atspiRolle, Zustaende z, bool obersteEbene) {
    if (atspiRolle == 0 || z.hat(zustandDefunkt)) return std::nullopt;
    if (obersteEbene) return std::string("AXWindow");
    const std::string name = atspiRollenName(atspiRolle);
    if (name.empty()) return std::string("AXUnknown");
    if (z.hat(zustandEditierbar)) {
        if (name == "combo box") return std::string("AXComboBox");
        if (textTraeger.count(name)) return std::string(z.hat(zustandMehrzeilig) ? "AXTextArea" : "AXTextField");
    }
    if (name == "entry" && z.hat(zustandMehrzeilig)) return std::string("AXTextArea");
    if (name == "push button" && z.hat(zustandHatPopup)) return std::string("AXMenuButton");
    if (auto it = rollenTabelle.find(name); it != rollenTabelle.end()) return it->second;
    if (gruppenRollen.count(name)) return std::string("AXGroup");
    return std::string("AXUnknown");
}

std::optional<RollenAbfrage> abfrageFuer(const std::set<std::string>& axRollen) {
    if (axRollen.empty()) return std::nullopt;
    const std::set<std::string> texte{"AXTextField", "AXTextArea"};
    if (std::all_of(axRollen.begin(), axRollen.end(), [&](const std::string& r) { return texte.count(r) > 0; })) {
        // Editable text carriers are text inputs; an "entry" or "password text" is one even
        // when it is read-only, which the second query must show absent.
        RollenAbfrage a;
        a.editierbar = true;
        for (const std::string& t : textTraeger) a.rollen.insert(*atspiRollenNummer(t));
        a.nichtEditierbareAuch = std::set<std::uint32_t>{*atspiRollenNummer("entry"), *atspiRollenNummer("password text")};
        // Not certain: a defunct element still matches, and its role reads as absent.
        return a;
    }
    RollenAbfrage a;
    a.genau = true;
    a.ohneZustaende = {zustandDefunkt};
    for (const std::string& ax : axRollen) {
        if (ax == "AXWindow" || ax == "AXGroup" || ax == "AXStaticText" || ax == "AXUnknown" || texte.count(ax) ||
            ax == "AXComboBox") {
            return std::nullopt;  // roles that many AT-SPI roles or positions give
        }
        bool bekannt = false;
        for (const auto& [atspi, unsere] : rollenTabelle) {
            if (unsere == ax) {
                a.rollen.insert(*atspiRollenNummer(atspi));
                bekannt = true;
            }
        }
        if (ax == "AXMenuButton") a.rollen.insert(*atspiRollenNummer("push button"));
        if (!bekannt && ax != "AXMenuButton") continue;  // no AT-SPI element has that role
    }
    if (a.rollen.empty()) return std::nullopt;
    // The states that make these AT-SPI roles another role of the system.
    const bool knopf = a.rollen.count(*atspiRollenNummer("push button")) > 0;
    const bool klappe = a.rollen.count(*atspiRollenNummer("combo box")) > 0;
    if (knopf && !axRollen.count("AXMenuButton")) a.ohneZustaende.insert(zustandHatPopup);
    else if (knopf && !axRollen.count("AXButton")) a.genau = false;  // a push button with a popup only
    if (klappe) a.ohneZustaende.insert(zustandEditierbar);
    return a;
}

const std::vector<std::string>& drueckAktionen() {
    static const std::vector<std::string> namen{"press", "click", "activate", "jump", "toggle", "open", "select"};
    return namen;
}

std::vector<std::string> attributeFuer(const std::string& rolle, bool anwendung, bool obersteEbene) {
    if (anwendung) {
        return {"AXRole", "AXTitle", "AXChildren", "AXWindows", "AXFocusedWindow", "AXFocusedUIElement",
                "AXFrontmost"};
    }
    std::vector<std::string> namen{"AXRole",    "AXTitle",    "AXDescription", "AXChildren", "AXParent",
                                   "AXWindow",  "AXFocused",  "AXEnabled",     "AXPosition", "AXSize",
                                   "AXDOMClassList"};
    if (obersteEbene) namen.insert(namen.end(), {"AXSubrole", "AXMain"});
    if (rolle == "AXWebArea") namen.push_back("AXURL");
    if (rolle == "AXTextField" || rolle == "AXTextArea" || rolle == "AXStaticText") namen.push_back("AXValue");
    std::sort(namen.begin(), namen.end());
    return namen;
}

}  // namespace klebwerk::atspi
