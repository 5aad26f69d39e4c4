// COM port names. "COMn" (n from 1 to 19) is the port's name everywhere in the
// program and in the settings store; on this platform it stands for a device.
//
// A name is resolved to a device path in this order:
//  1. A name that begins with "/" is a path already and is used as it is.
//  2. The per-user setting "COMn" under the key
//     "SOFTWARE\Quorel\TessaroV1.0\Ports", when it is present and not empty,
//     as any path (/dev/serial/by-id/..., the link of a pseudo-terminal ...).
//  3. COM1 to COM4 are /dev/ttyS0 to /dev/ttyS3, COM5 to COM8 /dev/ttyUSB0 to
//     /dev/ttyUSB3, COM9 to COM12 /dev/ttyACM0 to /dev/ttyACM3. COM13 to COM19
//     have no device until they are mapped in the settings.
// "COM" may be written in any case; any other name has no device.
// On Windows "COMn" is the system's own port: its device is "\\.\COMn",
// unless the setting of step 2 names another device; the ports present are
// those the system lists under HKLM\HARDWARE\DEVICEMAP\SERIALCOMM.
//
// "SIM" (in any case) is the simulated robot that runs inside the program
// itself; it has no device of its own here, the program gives it one.
#pragma once

#include <string>
#include <vector>

// Key of the port mappings in the settings store.
inline constexpr const char* GcPrtMapKey = "SOFTWARE\\Quorel\\TessaroV1.0\\Ports";

// The built-in simulated robot: its name in the settings store and the number
// that stands for it where ports are numbered (the Options list, the
// main window's port message).
inline constexpr const char* GcSimPrt = "SIM";
inline constexpr int GcSimPrtNum = 100;
// True when the name is GcSimPrt.
bool IsSimPrt(const std::string& name);

// Port number of "COMn" (1 to 19), or 0 when the name is not such a name.
int PrtNum(const std::string& name);

// Device path of a port name; empty when the name has no device.
std::string PrtDevPth(const std::string& name);
// The device that the per-user setting maps COMn to; empty when there is no
// such setting (or n names no port).
std::string PrtMapPth(int n);

// True when the device of the port name is present. The check never opens the
// device (opening a serial port raises DTR and can reset what hangs on it): the
// path must lead (through links) to a character device that a terminal driver
// serves (as the kernel lists them in /proc/tty/drivers), and a legacy serial
// port ttySn whose kernel record says that no UART answers there
// (/sys/class/tty/ttySn/type is 0) counts as absent.
bool PrtPrs(const std::string& name);

// Names of the ports that are present, "COM1" to "COM19" in ascending order.
std::vector<std::string> ScnComPrt();

// True when the port COMn is present. inUse tells whether another program
// holds it, as far as that can be seen without opening the device: a lock
// on the device (flock, as this program takes one) or a lock file
// (/var/lock/LCK..ttyUSB0 and the like) of a running process.
bool PrbComPrt(int n, bool& inUse);
// Where the serial programs keep their lock files (each ending in '/').
inline const std::vector<std::string> GcLckDirs{"/var/lock/", "/run/lock/"};
// Whether another program holds the device at the path, as far as that can be
// seen without opening it, and its process number (0 when the lock does not
// say): a lock file LCK..name in lckDirs that names a running process other
// than this one, or a lock on the device that another process took. This is
// the one rule of "held" for the window, the tools and the doctor.
struct TPrtHldr {
  bool Hld = false;
  long Pid = 0;
};
TPrtHldr PrtHldr(const std::string& devPth, const std::vector<std::string>& lckDirs = GcLckDirs);
// True when the device at the path is held by another program (PrtHldr).
bool PrtInUse(const std::string& devPth, const std::vector<std::string>& lckDirs = GcLckDirs);

// The port that stands for a stable link to a serial device, such as the
// name /dev/zefor that the udev rule gives the robot's cable, wherever the
// link leads. Num is 0 when the link leads to no present terminal, or when
// its device is none of COM1 to COM19 and COM13 to COM19 are all mapped.
// Lst: COMn is present and leads to the link's device, so the scan lists it
// already. Otherwise COMn is the first of COM13 to COM19 without a mapping,
// which MapPrt maps to the link once the user chooses it. Dev is the device
// the link leads to.
struct TLnkPrt {
  int Num = 0;
  bool Lst = false;
  std::string Dev;
};
TLnkPrt LnkPrt(const std::string& lnk);

// Maps COMn to the path in the per-user settings store; false when the store
// refuses (nothing is changed then).
bool MapPrt(int n, const std::string& pth);
