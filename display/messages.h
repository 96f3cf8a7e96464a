#pragma once

#include <cstdint>

namespace kz {

// Window message numbers as the Windows platform numbers them, so the Win32 shell can pass
// its messages through unchanged and other shells translate into the same values.
namespace msg {
constexpr uint32_t KeyDown = 0x0100;
constexpr uint32_t KeyUp = 0x0101;
constexpr uint32_t MouseMove = 0x0200;
constexpr uint32_t LeftButtonDown = 0x0201;
constexpr uint32_t LeftButtonUp = 0x0202;
constexpr uint32_t LeftButtonDoubleClick = 0x0203;
constexpr uint32_t RightButtonDown = 0x0204;
constexpr uint32_t RightButtonUp = 0x0205;
constexpr uint32_t RightButtonDoubleClick = 0x0206;
constexpr uint32_t MiddleButtonDown = 0x0207;
constexpr uint32_t MiddleButtonUp = 0x0208;
constexpr uint32_t MiddleButtonDoubleClick = 0x0209;
}  // namespace msg

// Key-state flags carried in the wparam of mouse messages.
namespace mouseflag {
constexpr uint32_t LeftButton = 0x0001;
constexpr uint32_t RightButton = 0x0002;
constexpr uint32_t Shift = 0x0004;
constexpr uint32_t Control = 0x0008;
constexpr uint32_t MiddleButton = 0x0010;
}  // namespace mouseflag

}  // namespace kz
