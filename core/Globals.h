// Program-wide state and types shared by every subsystem.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The one program-wide last-error text. A failing operation writes its message
// here and returns false (or -1); the caller shows it.
extern std::string GuLstErrMsg;

// The installation folder, ending in a path separator. Pictures and some sounds
// are loaded from below it. See DefaultInsDir() in core/PathUtl.h.
extern std::string GuInsDir;

// Vio type numbers, shared by the tool buttons, the program file, the
// instruction table and the valid-next table.
enum TeVioTyp : std::uint8_t {
  VT_STA = 0,   // Start
  VT_STO = 1,   // Stop
  VT_IFF = 2,   // If
  VT_THN = 3,   // Then
  VT_ELS = 4,   // Else
  VT_DLY = 5,   // Delay
  VT_LBL = 6,   // Label
  VT_GTO = 7,   // Goto
  VT_ACT = 8,   // Actor
  VT_SNS = 9,   // Sensor
  VT_SPD = 10,  // Engine speed
  VT_SWI = 11,  // Switch interrupt
  VT_RTI = 12,  // Return from interrupt
};
constexpr int GcVioTypCnt = 13;

// Grid of the programming field.
constexpr int GcGrdCls = 12;
constexpr int GcGrdRws = 10;

// Neighbour directions.
enum TeNbrDir : std::uint8_t { ND_LFT = 0, ND_UPP = 1, ND_RGT = 2, ND_DWN = 3 };

// Whether a signed index names one of n elements; a negative one never does.
constexpr bool InRng(std::int64_t i, std::size_t n) { return i >= 0 && static_cast<std::uint64_t>(i) < n; }
