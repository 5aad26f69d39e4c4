// The sensor and actor tokens the robot knows and what each one means. The
// names of the tokens a user picks come from ExtComTkn.sys (SarAndTkn.h);
// this is what the robot does with them.
#pragma once

#include <cstdint>

enum TeSarTkn : std::uint8_t {
  // Driving.
  ST_DRV_STP = 0x11,  // stop the wheels
  ST_DRV_FWD = 0x12,  // forward; a byte argument gives the distance in cm
  ST_DRV_REV = 0x13,  // backward; a byte argument gives the distance in cm
  ST_TRN_LFT = 0x14,  // turn left by 90 degrees
  ST_TRN_RGT = 0x15,  // turn right by 90 degrees
  ST_SPN_LFT = 0x16,  // spin left until the next driving command
  ST_SPN_RGT = 0x17,  // spin right until the next driving command
  // The system LED.
  ST_SYS_ON = 0x20,
  ST_SYS_OFF = 0x21,
  ST_SYS_BLK = 0x22,  // blink at 1 Hz
  ST_SYS_FLS = 0x23,  // a short flash every second
  // The two back LEDs.
  ST_BCK_ON = 0x30,
  ST_BCK_OFF = 0x31,
  ST_BCK_BLK = 0x32,
  ST_BCK_ALT = 0x33,  // left and right in turn
  // The track LED: an actor, and a condition on its state.
  ST_TRK_ON = 0x40,
  ST_TRK_OFF = 0x41,
  // Conditions.
  ST_BMP_LFT = 0x50,  // the left bumper is pressed
  ST_BMP_RGT = 0x51,
  ST_BMP_BTH = 0x52,  // both bumpers
  ST_BMP_NON = 0x53,  // neither bumper
  ST_LIN_LFT = 0x54,  // the left line sensor sees the line
  ST_LIN_RGT = 0x55,
  ST_LIN_BTH = 0x56,
  ST_LIN_NON = 0x57,
  ST_LGT_DRK = 0x58,  // the room is dark
  ST_LGT_BRT = 0x59,  // the room is bright
  ST_SWI_ON = 0x60,   // switch 1 is on; ST_SWI_ON + 2 * i for switch i + 1, + 1 for off
  ST_SWI_LST = 0x6B,  // switch 6 is off
};

// What an actor token does with the vio's value (the role-3 edit).
enum class TeActPrm : std::uint8_t {
  Non,  // no parameter
  Byt,  // a byte argument (0xAE, value)
  Dly,  // a delay after the command (0xA8, value)
  Unk,  // not an actor token
};

// The parameter of an actor token; Unk for any other token.
TeActPrm SarActPrm(std::uint8_t tkn);
// The token is an actor command the robot carries out.
bool SarIsAct(std::uint8_t tkn);
// The token is a condition the robot can test.
bool SarIsSns(std::uint8_t tkn);
