#pragma once

#include <vector>

#include "platform/bildschirme.h"

namespace klebwerk::linuxdesk {

// The screens as Qt knows them from the window system. Whether windows can be
// translucent is the window system's own question.
class QtBildschirme : public Bildschirme {
public:
    std::vector<Bildschirm> alle() override;
};

}  // namespace klebwerk::linuxdesk
