// The connection doctor: step by step, why a robot is not found. Each step
// says what it found and, when it fails, what the user can do, in the user's
// language (messages 0x40 to 0x5F of SysMsgFil.sys).
//
//  1. the serial devices of the computer, with their USB vendor, product and serial number;
//  2. whether the configured port is present;
//  3. whether the user may open it (the group of the device, and a login that
//     predates joining that group);
//  4. whether another program holds it, and which;
//  5. whether a robot answers the link check within the time limit.
// A step that cannot be made because an earlier one failed says so.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "doctor/DocSys.h"

enum class TeDocStp : std::uint8_t { Dev, Prt, Prm, Hld, Rob };
enum class TeDocSte : std::uint8_t { Ok, Fail, Skip };

struct TDocRes {
  TeDocStp Stp = TeDocStp::Dev;
  TeDocSte Ste = TeDocSte::Ok;
  std::string Fnd;  // what the step found
  std::string Do;   // what to do; empty when nothing needs doing
};

struct TDocCfg {
  std::string PrtNam;  // the configured port: "COM5" or a device path; empty when none is chosen
  int TmoMs = 2000;    // time the robot has to answer the link check
};

// Text of a message identifier in the user's language; empty when the table lacks it.
using TDocTxt = std::function<std::string(std::uint8_t id)>;
// The texts of the program's message table (GuSysLgeMsg) in language lge.
TDocTxt SysDocTxt(std::uint8_t lge);

// Message identifiers.
enum TeDocMsg : std::uint8_t {
  DM_DEV_LST = 0x40,  // Serial devices: %1
  DM_DEV_NON = 0x41,
  DM_DEV_NON_DO = 0x42,
  DM_WRD_SER = 0x43,  // the words "serial number"
  DM_PRT_OKY = 0x44,
  DM_PRT_MIS = 0x45,
  DM_PRT_MIS_DO = 0x46,
  DM_PRT_NON = 0x47,
  DM_PRM_OKY = 0x48,
  DM_PRM_GRP = 0x49,
  DM_PRM_GRP_DO = 0x4A,
  DM_PRM_LGN = 0x4B,
  DM_PRM_LGN_DO = 0x4C,
  DM_HLD_NON = 0x4D,
  DM_HLD_OTH = 0x4E,
  DM_HLD_OTH_DO = 0x4F,
  DM_HLD_UNK = 0x50,
  DM_ROB_OKY = 0x51,
  DM_ROB_SIL = 0x52,
  DM_ROB_SIL_DO = 0x53,
  DM_STP_SKP = 0x54,
  DM_OPN_ERR = 0x55,
  DM_WRD_PRC = 0x56,  // the word "process"
  DM_HLD_OWN = 0x57,
  DM_ROB_OWN = 0x58,
  DM_TTL_DEV = 0x59,  // step titles, 0x59 to 0x5D
  DM_TTL_PRT = 0x5A,
  DM_TTL_PRM = 0x5B,
  DM_TTL_HLD = 0x5C,
  DM_TTL_ROB = 0x5D,
  DM_WRD_DO = 0x5E,  // "What to do:"
  DM_TTL_DOC = 0x5F,  // the title of the check
  DM_PRM_MOD = 0xC0,  // the device's group may not read and write it
  DM_PRM_MOD_DO = 0xC1,
};

// Runs the five steps.
std::vector<TDocRes> RunConDoc(IDocSys& sys, const TDocCfg& cfg, const TDocTxt& txt);

// Title of a step.
std::string DocStpTtl(TeDocStp stp, const TDocTxt& txt);

// A message with %1, %2 and %3 replaced by the arguments.
std::string DocFmt(const std::string& msg, const std::vector<std::string>& arg);

// One device as the first step lists it: "/dev/ttyUSB0 (USB 0403:6001, FTDI,
// FT232R USB UART, serial number A600xyz; /dev/zefor)".
std::string DocDevTxt(const TSerDev& d, const TDocTxt& txt);

// The report of a run as text: the title of the check, then each step with its
// state ("[ ok ]", "[FAIL]", "[ -- ]"), what it found and what to do.
std::string DocRptTxt(const std::vector<TDocRes>& res, const TDocTxt& txt);
// True when every step passed.
bool DocAllOky(const std::vector<TDocRes>& res);
// The texts of the doctor's messages (0x40 to 0x5F) copied out of txt, so that
// a check on another thread does not read the message table.
TDocTxt DocTxtCpy(const TDocTxt& txt);
