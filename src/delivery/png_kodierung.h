#pragma once

#include <optional>
#include <string>

class QImage;

namespace klebwerk {

// The image as PNG, made for speed rather than size: each row filtered with "Sub" or
// "Up", whichever suits it, and compressed lightly, the rows split into parts compressed
// at the same time (one part per core, at most `teile`) and joined into one deflate
// stream. The PNG decodes to exactly the pixels of `bild`; 8-bit images (with or
// without alpha) are written as RGB or RGBA, anything else through Qt's own writer.
// Nothing when the image is empty or encoding failed.
std::optional<std::string> schnellesPng(const QImage& bild, int teile = 0);

// Reads an image file, decodes it and encodes it again as PNG (`schnellesPng`).
// Nothing when the file cannot be read or decoded or the encoding failed.
std::optional<std::string> pngAusDatei(const std::string& pfad);

}  // namespace klebwerk
