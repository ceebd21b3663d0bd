#include "feedback/hinweis.h"

namespace klebwerk {

// The window itself comes with the on-screen overlays; until then a hint is only recorded.
void Hinweis::zeige(const std::string& text, double) {
    letzterText_ = text;
    ++anzahl_;
}

}  // namespace klebwerk
