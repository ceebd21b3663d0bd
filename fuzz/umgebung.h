#pragma once

// What every fuzz target shares: one QApplication on Qt's offscreen platform, a home
// folder of its own, and the checks that hold after any input.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "support/temp_heim.h"

namespace klebwerk::fuzz {

// Creates the QApplication once (offscreen, unless the environment chose a platform).
void starteQt();

// Stops the run with a message: libFuzzer keeps the input that got here.
[[noreturn]] inline void verletzt(const std::string& was, std::string_view eingabe = {}) {
    std::fprintf(stderr, "Verletzt: %s\nEingabe (%zu Bytes): %.*s\n", was.c_str(), eingabe.size(),
                 static_cast<int>(std::min<size_t>(eingabe.size(), 400)), eingabe.data());
    std::abort();
}

// The log's lines; each must begin with "yyyy-MM-dd HH:mm:ss ", and the text must end
// with a line feed.
std::vector<std::string> protokollZeilen(const std::string& protokoll, std::string_view eingabe);

// The file holds one JSON object (the settings file, the status file).
bool istJsonObjekt(const std::string& inhalt);

// After the work of an input has settled, ten more seconds without anything happening
// may add only a few entries: a line on every tick would grow the log without end.
constexpr int hoechstensLeerlaufZeilen = 12;

// Empties the log, so that a long run does not fill the disk and each input's lines
// stand alone.
void leereProtokoll();

}  // namespace klebwerk::fuzz
