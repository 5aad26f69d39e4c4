// One robot of an upload that goes to several robots at once: its port, its
// own link while the frame is under way, and what the upload came to. Every
// robot is opened and sent the frame in turn (milliseconds each); the quiet
// start of all of them then ends together, the frames cross their lines at
// the same time and every robot has the same deadline for its "transfer
// complete", so that a room of robots takes the time of one. The upload tool
// waits for each answer in turn; the window looks at them on its timer.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/LnkSes.h"

// What an upload came to.
enum class TeUplRes : std::uint8_t {
  Pnd,    // under way
  Cfm,    // the robot confirmed: "transfer complete"
  NoDev,  // the port name stands for no device
  Opn,    // the port could not be opened (Opn() tells why)
  Snd,    // the frame could not be handed to the line
  Lst,    // the link ended before the robot answered
  Tmo,    // no answer by the deadline
};

// How long the robot has for "transfer complete" once the quiet start is
// over: the frame of len data bytes on the wire, then tmo.
std::chrono::milliseconds UplAnsTim(std::size_t len, std::chrono::milliseconds tmo);

class TUplRbt {
public:
  // prt: a port name ("COM5") or a device path.
  explicit TUplRbt(std::string prt);
  TUplRbt(const TUplRbt&) = delete;
  TUplRbt& operator=(const TUplRbt&) = delete;

  // Opens the port and queues the program frame of code cod (upload, or
  // upload and run) with the stream stm; it leaves at Go. False when the
  // upload has ended here (Res tells).
  bool Sta(std::uint8_t cod, const std::vector<std::uint8_t>& stm);
  // The quiet start is over: the queued frame goes out.
  void Go();
  // Waits up to lim for the answer; true once the upload has ended. A wait
  // that reaches lim without an answer ends the upload with Tmo when fin is
  // set, else it is still under way (the window looks again later). The
  // port is closed as soon as the upload has ended.
  bool Wai(TLnkSes::TClk::time_point lim, bool fin);

  const std::string& Prt() const { return FsPrt; }
  const std::string& Pth() const { return FsPth; }  // the device; empty with NoDev
  TeUplRes Res() const { return FeRes; }
  // With Opn: the component's result, and whether the line hung up while it
  // was opened.
  TOpnPrtRes OpnRes() const { return FOpn; }
  bool LinGon() const { return FbLinGon; }
  // With Snd: whether the port was still open. With Lst: whether its device
  // has gone (a cable pulled).
  bool PrtOpn() const { return FbPrtOpn; }
  bool DevLst() const { return FbDevLst; }
  // The component's own words for a failure (its last-error text, or why
  // the link ended); may be empty.
  const std::string& Why() const { return FsWhy; }

private:
  void End(TeUplRes res);
  std::string FsPrt, FsPth;
  std::unique_ptr<TLnkSes> FpSes;
  TeUplRes FeRes = TeUplRes::Pnd;
  TOpnPrtRes FOpn = TeOpnPrt::Ok;
  bool FbLinGon = false, FbPrtOpn = true, FbDevLst = false;
  std::string FsWhy;
};
