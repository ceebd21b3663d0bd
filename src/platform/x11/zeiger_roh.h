#pragma once

#include <cstdint>

#include <xcb/xinput.h>

namespace klebwerk::x11 {

// The raw pointer events that the backend's connection always selects on the root
// window. XInput 2 keeps one event mask per client and window, so everyone who
// selects raw events there selects at least these.
inline constexpr std::uint32_t zeigerRohMaske = XCB_INPUT_XI_EVENT_MASK_RAW_MOTION;

// The XInput version the backend announces; every query on the connection asks for
// the same one (the server refuses a second, different one).
inline constexpr std::uint16_t xiHaupt = 2;
inline constexpr std::uint16_t xiNeben = 2;

}  // namespace klebwerk::x11
