// The application's private window messages. The editor, the translator and the
// Options dialog send them synchronously to the main window: a message code in
// the low byte of the first parameter, a value in the second.
#pragma once

#include <cstdint>

constexpr std::uint32_t WM_USER = 0x0400;
constexpr std::uint32_t WM_APP_MSG = WM_USER + 1;  // application messages
constexpr std::uint32_t WM_SET_MSG = WM_USER + 2;  // settings messages
constexpr std::uint32_t WM_NOP_MSG = WM_USER + 3;  // no action

// Application message codes (first parameter of WM_APP_MSG).
constexpr std::uint32_t AM_ENA_STA = 0;  // enable tbnSta
constexpr std::uint32_t AM_ENA_SWI = 1;  // enable tbnSwi
constexpr std::uint32_t AM_VIO_BLK = 2;  // blink the vio given in the second parameter
constexpr std::uint32_t AM_LNK_OKY = 7;  // the second parameter points to a bool: set when the robot answers the link

// Settings message codes (first parameter of WM_SET_MSG).
constexpr std::uint32_t SM_NEW_COM_PRT = 7;  // a new COM port was chosen: "COM" + the second parameter
constexpr std::uint32_t SM_RMV_CUR_VIO = 8;  // remove the editor's current vio

// Receiver of the private window messages: the main window.
class IWndMsgTgt {
public:
  virtual ~IWndMsgTgt() = default;
  // Synchronous: returns when the handler has run.
  virtual std::intptr_t SndMsg(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) = 0;
};
