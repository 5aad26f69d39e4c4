// What the connection doctor asks the system: the serial devices that sysfs
// knows, who may open a device, which processes hold it, and the device itself.
// Every probe goes through IDocSys, so that a test can stand in its own tree of
// sysfs and /proc, its own user and groups, and a pseudo-terminal as the port.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/PrtNam.h"

// One serial device of the computer.
struct TSerDev {
  std::string Dev;  // device node, "/dev/ttyUSB0"
  std::string Vid;  // USB vendor and product id, four hex digits each; empty when not USB
  std::string Pid;
  std::string Mfr;  // USB manufacturer, product and serial number, where the device says
  std::string Prd;
  std::string Ser;
  std::vector<std::string> Lnk;  // links in /dev that lead to it ("/dev/zefor")
};

// Numbers of users and groups, and file modes, as a POSIX system gives them.
using TDocUid = std::uint32_t;
using TDocGid = std::uint32_t;
using TDocMod = std::uint32_t;

// Owner and mode of a file.
struct TFilInf {
  bool Exs = false;  // the path leads to something
  bool Chr = false;  // a character device
  TDocUid Uid = 0;
  TDocGid Gid = 0;
  TDocMod Mod = 0;
};

// A group of the group database.
struct TGrpInf {
  bool Fnd = false;
  std::string Nam;
  TDocGid Gid = 0;
  std::vector<std::string> Mbr;  // members named in the database
};

// The result of opening a port for the link check.
enum class TeOpnRes : std::uint8_t { Ok, Missing, Denied, Busy, Other };

class IDocSys {
public:
  virtual ~IDocSys() = default;

  // ---- Devices
  virtual std::vector<TSerDev> SerDevs() = 0;
  virtual TFilInf Stat(const std::string& path) = 0;  // follows links
  virtual std::string RealPath(const std::string& path) = 0;  // empty when the path leads nowhere
  // The names of the COM ports that are present ("COM5"), as the Options list has them.
  virtual std::vector<std::string> ComPrts() = 0;

  // ---- What the system has
  // Device files have owners and modes that decide who may open them (a
  // POSIX system). Windows lets every user open a port: no rights to check.
  virtual bool FilPrm() const { return true; }
  // Whether another program holds a port can be told only by trying to open
  // it (Windows): Locker does so, and Holders finds nobody.
  virtual bool HldByOpn() const { return false; }

  // ---- The user
  virtual TDocUid Uid() = 0;
  virtual TDocGid Gid() = 0;
  virtual std::vector<TDocGid> Groups() = 0;  // supplementary groups of this process
  virtual std::string UserName() = 0;
  virtual TGrpInf GroupById(TDocGid gid) = 0;
  virtual TGrpInf GroupByName(const std::string& name) = 0;

  // ---- Processes that have the device open, as far as the system lets us see.
  struct THolder {
    int Pid = 0;
    std::string Nam;   // the program's name
    bool Own = false;  // this process
  };
  virtual std::vector<THolder> Holders(const std::string& realDev) = 0;
  // A program other than this one that holds the device by a lock, as the
  // serial component and the tools judge it (PrtHldr of link/PrtNam.h): its
  // process and name where the lock says; Pid 0 when nothing holds it, -1
  // when a lock holds it that names no process.
  virtual THolder Locker(const std::string& dev) = 0;

  // ---- The line. OpnPrt opens and locks the device for the link check,
  // configured for the robot's line; on failure the system's text in err.
  virtual TeOpnRes OpnPrt(const std::string& path, int& fd, std::string& err) = 0;
  // Writes all bytes; false when the line refuses them.
  virtual bool WrtAll(int fd, const std::vector<std::uint8_t>& bytes) = 0;
  // Waits up to ms milliseconds for bytes and appends what arrived; false on a
  // line that has gone away.
  virtual bool RdSome(int fd, int ms, std::vector<std::uint8_t>& out) = 0;
  virtual void ClsPrt(int fd) = 0;
  // Milliseconds of a steady clock.
  virtual std::int64_t NowMs() = 0;

  // Another system like this one, for a check on another thread: the checks
  // of several ports at once each ask one of their own.
  virtual std::unique_ptr<IDocSys> Dup() const = 0;
};

// The POSIX system as it is (DocSys.cpp). The roots let a test stand its own sysfs, /proc and /dev
// trees and folders of lock files in; the group database is /etc/group.
class TDocSysLnx : public IDocSys {
public:
  explicit TDocSysLnx(std::string sysRoot = "/sys", std::string procRoot = "/proc",
                      std::string devRoot = "/dev", std::string grpFil = "/etc/group",
                      std::vector<std::string> lckDirs = GcLckDirs);

  std::vector<TSerDev> SerDevs() override;
  TFilInf Stat(const std::string& path) override;
  std::string RealPath(const std::string& path) override;
  std::vector<std::string> ComPrts() override;
  TDocUid Uid() override;
  TDocGid Gid() override;
  std::vector<TDocGid> Groups() override;
  std::string UserName() override;
  TGrpInf GroupById(TDocGid gid) override;
  TGrpInf GroupByName(const std::string& name) override;
  std::vector<THolder> Holders(const std::string& realDev) override;
  THolder Locker(const std::string& dev) override;
  TeOpnRes OpnPrt(const std::string& path, int& fd, std::string& err) override;
  bool WrtAll(int fd, const std::vector<std::uint8_t>& bytes) override;
  bool RdSome(int fd, int ms, std::vector<std::uint8_t>& out) override;
  void ClsPrt(int fd) override;
  std::int64_t NowMs() override;
  std::unique_ptr<IDocSys> Dup() const override { return std::make_unique<TDocSysLnx>(*this); }

private:
  TGrpInf FndGrp(bool byId, TDocGid gid, const std::string& name);
  std::string FsSys, FsPrc, FsDev, FsGrp;
  std::vector<std::string> FLck;
};

// Windows as it is (DocSysWin.cpp): the ports the registry lists under
// HARDWARE\DEVICEMAP\SERIALCOMM, held when the system refuses to open them,
// opened with CreateFileA and configured for the robot's line.
class TDocSysWin : public IDocSys {
public:
  std::vector<TSerDev> SerDevs() override;
  TFilInf Stat(const std::string& path) override;
  std::string RealPath(const std::string& path) override;
  std::vector<std::string> ComPrts() override;
  bool FilPrm() const override { return false; }
  bool HldByOpn() const override { return true; }
  TDocUid Uid() override { return 0; }
  TDocGid Gid() override { return 0; }
  std::vector<TDocGid> Groups() override { return {}; }
  std::string UserName() override;
  TGrpInf GroupById(TDocGid) override { return {}; }
  TGrpInf GroupByName(const std::string&) override { return {}; }
  std::vector<THolder> Holders(const std::string&) override { return {}; }
  THolder Locker(const std::string& dev) override;
  TeOpnRes OpnPrt(const std::string& path, int& fd, std::string& err) override;
  bool WrtAll(int fd, const std::vector<std::uint8_t>& bytes) override;
  bool RdSome(int fd, int ms, std::vector<std::uint8_t>& out) override;
  void ClsPrt(int fd) override;
  std::int64_t NowMs() override;
  std::unique_ptr<IDocSys> Dup() const override { return std::make_unique<TDocSysWin>(*this); }
};
