#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/zwischenablage.h"

namespace klebwerk {

// The pasteboard's contents as saved: per item, its types and their data, in order.
using GesicherteAblage = std::vector<AblageEintrag>;

// Saves the pasteboard's contents: `fertig` gets them (none: it was empty) or the
// reason they could not be read, later, on the main thread, unless the token is gone.
Marke sichere(Zwischenablage& ablage, std::function<void(AblageLesung)> fertig);

// Puts a capture on the pasteboard. An image goes on as PNG plus its file URL, a
// recording as a file reference only. The pasteboard is cleared only once the new
// data exists: any failure (unreadable, not decodable) leaves it untouched.
bool legeAuf(Zwischenablage& ablage, const std::string& pfad, bool video);
// Puts an image capture on the pasteboard whose PNG is already made.
bool legeAufPng(Zwischenablage& ablage, const std::string& pfad, const std::string& png);

// Puts saved contents back; items without types are dropped. Always clears first.
void stelleHer(Zwischenablage& ablage, const GesicherteAblage& gesichert);

// The file: URL of an absolute path.
std::string dateiUrl(const std::string& pfad);

}  // namespace klebwerk
