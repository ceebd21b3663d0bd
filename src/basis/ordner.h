#pragma once

#include <string>

namespace klebwerk {

// The per-user folders of the XDG base directories, each falling back to its
// place in the home folder when its variable is unset or not absolute.
std::string heimOrdner();
std::string xdgDatenOrdner();   // $XDG_DATA_HOME or ~/.local/share
std::string xdgConfigOrdner();  // $XDG_CONFIG_HOME or ~/.config
std::string xdgCacheOrdner();   // $XDG_CACHE_HOME or ~/.cache

// "Klebwerk" in the data home; created with its parents (an error is ignored).
std::string legeDatenOrdnerAn();
// The settings file "einstellungen.json" in the application's config folder.
std::string einstellungsDatei();

// Creates a folder and its parents; false when it does not exist afterwards.
bool legeOrdnerAn(const std::string& pfad);

}  // namespace klebwerk
