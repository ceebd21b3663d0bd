#include "platform/linux/gnome_kuerzel.h"

#include <cctype>

#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>

#include "platform/eingabe.h"
#include "platform/linux/desktop_taste.h"

namespace klebwerk::linuxdesk {

namespace {

std::string klein(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The flag of a GTK modifier name; 0 for one that is no modifier of a shortcut.
std::uint64_t gtkModifikator(const std::string& name) {
    const std::string n = klein(name);
    if (n == "control" || n == "ctrl" || n == "ctl" || n == "primary") return flagge::control;
    if (n == "shift" || n == "shft") return flagge::umschalt;
    if (n == "alt" || n == "mod1") return flagge::option;
    if (n == "super" || n == "mod4" || n == "meta" || n == "hyper") return flagge::befehl;
    return 0;
}

SystemKuerzelLesung fehler(const std::string& text) {
    SystemKuerzelLesung l;
    l.stand = SystemKuerzelLesung::Stand::fehler;
    l.fehler = text;
    return l;
}

}  // namespace

SystemKuerzelLesung gtkKuerzel(const std::string& text) {
    std::uint64_t flaggen = 0;
    size_t i = 0;
    while (i < text.size() && text[i] == '<') {
        size_t zu = text.find('>', i);
        if (zu == std::string::npos) return fehler("unlesbar: " + text);
        std::string name = text.substr(i + 1, zu - i - 1);
        std::uint64_t f = gtkModifikator(name);
        // "<Release>" says when the binding fires, not which keys make it.
        if (!f && klein(name) != "release") return fehler("unbekannter Modifikator: " + text);
        flaggen |= f;
        i = zu + 1;
    }
    auto keysym = keysymAusName(text.substr(i));
    if (!keysym) return fehler("unbekannte Taste: " + text);
    return gesetzt(flaggen, *keysym);
}

SystemKuerzelLesung gtkBelegung(const std::vector<std::string>& liste) {
    for (const std::string& eintrag : liste) {
        if (eintrag.empty() || eintrag == "disabled") continue;
        return gtkKuerzel(eintrag);
    }
    SystemKuerzelLesung aus;
    aus.stand = SystemKuerzelLesung::Stand::aus;
    return aus;
}

struct GnomeEinstellungen::Innen {
    GSettingsSchemaSource* quelle = nullptr;
    GSettingsBackend* hintergrund = nullptr;  // none: the default backend
    std::string fehler;
};

GnomeEinstellungen::GnomeEinstellungen(std::string schemaOrdner, std::string schluesselDatei) : innen_(new Innen) {
    if (schemaOrdner.empty()) {
        if (GSettingsSchemaSource* q = g_settings_schema_source_get_default())
            innen_->quelle = g_settings_schema_source_ref(q);
    } else {
        GError* f = nullptr;
        innen_->quelle = g_settings_schema_source_new_from_directory(schemaOrdner.c_str(), nullptr, FALSE, &f);
        if (f) {
            innen_->fehler = f->message;
            g_error_free(f);
        }
    }
    if (!schluesselDatei.empty())
        innen_->hintergrund = g_keyfile_settings_backend_new(schluesselDatei.c_str(), "/", nullptr);
}

GnomeEinstellungen::~GnomeEinstellungen() {
    if (innen_->quelle) g_settings_schema_source_unref(innen_->quelle);
    if (innen_->hintergrund) g_object_unref(innen_->hintergrund);
    delete innen_;
}

GnomeListe GnomeEinstellungen::liesListe(const std::string& schema, const std::string& schluessel) {
    GnomeListe ergebnis;
    if (!innen_->fehler.empty()) {
        ergebnis.stand = GnomeListe::Stand::fehler;
        ergebnis.fehler = innen_->fehler;
        return ergebnis;
    }
    if (!innen_->quelle) return ergebnis;  // no schemas installed at all
    GSettingsSchema* s = g_settings_schema_source_lookup(innen_->quelle, schema.c_str(), TRUE);
    if (!s) return ergebnis;
    if (!g_settings_schema_has_key(s, schluessel.c_str())) {
        g_settings_schema_unref(s);
        return ergebnis;
    }
    GSettingsSchemaKey* k = g_settings_schema_get_key(s, schluessel.c_str());
    const bool liste = g_variant_type_equal(g_settings_schema_key_get_value_type(k), G_VARIANT_TYPE_STRING_ARRAY);
    g_settings_schema_key_unref(k);
    if (!liste) {
        g_settings_schema_unref(s);
        ergebnis.stand = GnomeListe::Stand::fehler;
        ergebnis.fehler = schema + " " + schluessel + " ist keine Textliste";
        return ergebnis;
    }
    GSettings* einstellungen = g_settings_new_full(s, innen_->hintergrund, nullptr);
    g_settings_schema_unref(s);
    gchar** werte = g_settings_get_strv(einstellungen, schluessel.c_str());
    ergebnis.stand = GnomeListe::Stand::da;
    for (gchar** w = werte; w && *w; ++w) ergebnis.werte.emplace_back(*w);
    g_strfreev(werte);
    g_object_unref(einstellungen);
    return ergebnis;
}

}  // namespace klebwerk::linuxdesk
