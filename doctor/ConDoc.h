// The connection doctor: step by step, why a robot is not found. Each step
// says what it found and, when it fails, what the user can do, in the user's
// language (messages 0x40 to 0x5F and 0x65 of SysMsgFil.sys).
//
//  1. the serial devices of the computer, with their USB vendor, product and serial number;
//  2. whether the configured port is present;
//  3. whether the user may open it (the group of the device, and a login that
//     predates joining that group);
//  4. whether another program holds it, and which;
//  5. whether a robot answers the link check within the time limit.
// A step that cannot be made because an earlier one failed says so. The
// built-in simulated robot ("SIM") has no device: its check is the link
// button of the main window.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "doctor/DocSys.h"
#include "messages/SysMsgIdf.h"

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
  // The port's device, when the caller has looked it up already: a check on
  // another thread must not ask the settings store for the port mappings.
  std::optional<std::string> Dev;
  // This program holds the port itself and its link says that the robot
  // answers: the window knows, so the port is not opened a second time.
  bool OwnAns = false;
};

// Text of a message identifier in the user's language; empty when the table lacks it.
using TDocTxt = std::function<std::string(std::uint8_t id)>;
// The texts of the program's message table (GuSysLgeMsg) in language lge.
TDocTxt SysDocTxt(std::uint8_t lge);


// Runs the five steps.
std::vector<TDocRes> RunConDoc(IDocSys& sys, const TDocCfg& cfg, const TDocTxt& txt);

// Title of a step.
std::string DocStpTtl(TeDocStp stp, const TDocTxt& txt);

// The text of a message with its arguments put in; its identifier when the
// table lacks it, so that nothing is left blank.
std::string DocMsg(const TDocTxt& txt, std::uint8_t id, const std::vector<std::string>& arg = {});
// The mark of a state in a report: "[ ok ] ", "[FAIL] ", "[ -- ] ".
const char* DocSteTag(TeDocSte ste);

// One device as the first step lists it: "/dev/ttyUSB0 (USB 0403:6001, FTDI,
// FT232R USB UART, serial number A600xyz; /dev/zefor)".
std::string DocDevTxt(const TSerDev& d, const TDocTxt& txt);

// The report of a run as text: the title of the check, then each step with its
// state ("[ ok ]", "[FAIL]", "[ -- ]"), what it found and what to do.
std::string DocRptTxt(const std::vector<TDocRes>& res, const TDocTxt& txt);
// True when every step passed.
bool DocAllOky(const std::vector<TDocRes>& res);
// The texts of the doctor's messages (DocMsgIds) copied out of txt, so that a
// check on another thread does not read the message table.
TDocTxt DocTxtCpy(const TDocTxt& txt);
// The identifiers of the doctor's messages, ascending: the one-port check's
// and the roll call's.
std::vector<std::uint8_t> DocMsgIds();
