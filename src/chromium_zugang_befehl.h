#pragma once

#include <ostream>

namespace klebwerk {

// "klebwerk --chromium-zugang" (an) and "--chromium-zugang-aus": writes or removes the
// user's copies of the Chromium and Google Chrome desktop entries that start the browser
// with its page accessibility, says what was done (in the interface language) and gives
// the exit status: 0 when every installed browser starts with the switch (or, for "aus",
// every copy of Klebwerk's is gone), else 1.
int chromiumZugangBefehl(bool an, std::ostream& aus, std::ostream& fehler);

}  // namespace klebwerk
