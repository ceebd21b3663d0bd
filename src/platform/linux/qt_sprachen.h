#pragma once

#include <string>
#include <vector>

#include "platform/sprachen.h"

namespace klebwerk::linuxdesk {

class QtSprachen : public Sprachen {
public:
    std::vector<std::string> bevorzugt() override;
};

}  // namespace klebwerk::linuxdesk
