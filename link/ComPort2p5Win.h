// The Win32 side of the serial component, shared by its two implementation
// files (ComPort2p5Win.cpp and ComIoThrWin.cpp): the port's handle, the event
// objects of the two threads, the overlapped records and the line settings.
#pragma once

#include <windows.h>

#include "link/ComPort2p5.h"

struct TComport2p5::TPlf {
  // I/O thread events: those of the class (IE_STP ... IE_MDM_STA, 1, 3 and 5
  // manual-reset, bound to the overlapped records) and 7, the thread has ended.
  static constexpr unsigned IE_END = 7;
  static constexpr unsigned GcIoCnt = 8;
  // Receive controller events: those of the class (RE_STP, RE_DAT, RE_MDM,
  // RE_IO_END = 4: the I/O thread has ended by itself) and 3, the
  // controller has ended. The controller waits for all five.
  static constexpr unsigned RE_END = 3;
  static constexpr unsigned GcRxcCnt = 5;
  static constexpr unsigned GcRxcWai = 5;

  HANDLE Prt = INVALID_HANDLE_VALUE;
  HANDLE Io[GcIoCnt] = {};
  HANDLE Rxc[GcRxcCnt] = {};
  OVERLAPPED OvRd{}, OvWr{}, OvMdm{};
  DCB Dcb{};
  HANDLE IoThr = nullptr;
  HANDLE RxcThr = nullptr;

  static DWORD WINAPI IoPrc(LPVOID arg);
  static DWORD WINAPI RxcPrc(LPVOID arg);
};
