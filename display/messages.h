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

// Modifier keys held with a key message, passed beside it where a program needs them (a key
// message's lparam has no room for them). Shift and Control are the mouse flags, so a
// program can pass the flags it makes for mouse messages.
namespace keyflag {
constexpr uint32_t Shift = mouseflag::Shift;
constexpr uint32_t Control = mouseflag::Control;
constexpr uint32_t Alt = 0x0100;
}  // namespace keyflag

// Windows virtual-key codes, in the wparam of a key message. The Linux program and the page
// pass every key on as the Windows program gets it; the extra play answers to Return, Escape,
// Space, the arrows, H, Y and Z. Letters and digits have their ASCII codes.
namespace virtualkey {
constexpr uint32_t Backspace = 0x08;
constexpr uint32_t Tab = 0x09;
constexpr uint32_t Return = 0x0D;
constexpr uint32_t Shift = 0x10;
constexpr uint32_t Control = 0x11;
constexpr uint32_t Alt = 0x12;
constexpr uint32_t Escape = 0x1B;
constexpr uint32_t Space = 0x20;
constexpr uint32_t Left = 0x25;
constexpr uint32_t Up = 0x26;
constexpr uint32_t Right = 0x27;
constexpr uint32_t Down = 0x28;
constexpr uint32_t Delete = 0x2E;
constexpr uint32_t H = 0x48;
constexpr uint32_t W = 0x57;
constexpr uint32_t Y = 0x59;
constexpr uint32_t Z = 0x5A;
constexpr uint32_t Numpad0 = 0x60;  // to Numpad9 = 0x69
constexpr uint32_t F1 = 0x70;       // to F24 = 0x87
}  // namespace virtualkey

}  // namespace kz
