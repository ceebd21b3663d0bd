#pragma once

#include <string>

namespace klebwerk {

// The application's identifier: names the staging folder and the command channel.
inline const std::string kennung = "de.quenmoral.klebwerk";

// The data folder (log, status file, diagnostic files). Set once at start.
std::string datenOrdner();
void setzeDatenOrdner(std::string ordner);

// The interface language is English. Fixed for the life of the process.
bool englisch();
void setzeEnglisch(bool an);

}  // namespace klebwerk
