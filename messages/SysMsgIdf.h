// Every message identifier of SysMsgFil.sys, in one place: its value, its
// name and what asks for it. The enumeration and the table below are both
// made from this one list; a message added to the program is added here, and
// the check at start and the data file's test then ask the file for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

// X(name, value, user), ascending by value. The doctor's messages keep the
// DM_ names that its code and reports use.
#define TESSARO_SYS_MSG_IDF(X)                                                                      \
  X(SUM_TBN_STA_XXX_HNT, 0x02, "tool bar: hint of tbnSta")                                          \
  X(SUM_TBN_STO_XXX_HNT, 0x03, "tool bar: hint of tbnSto")                                          \
  X(SUM_TBN_IFF_XXX_HNT, 0x04, "tool bar: hint of tbnIff")                                          \
  X(SUM_TBN_THN_XXX_HNT, 0x05, "tool bar: hint of tbnThn")                                          \
  X(SUM_TBN_ELS_XXX_HNT, 0x06, "tool bar: hint of tbnEls")                                          \
  X(SUM_TBN_GTO_XXX_HNT, 0x07, "tool bar: hint of tbnGto")                                          \
  X(SUM_TBN_LBL_XXX_HNT, 0x08, "tool bar: hint of tbnLbl")                                          \
  X(SUM_TBN_DLY_XXX_HNT, 0x09, "tool bar: hint of tbnDly")                                          \
  X(SUM_TBN_ACT_XXX_HNT, 0x0A, "tool bar: hint of tbnAct")                                          \
  X(SUM_TBN_SNS_XXX_HNT, 0x0B, "tool bar: hint of tbnSns")                                          \
  X(SUM_TBN_SPD_XXX_HNT, 0x0C, "tool bar: hint of tbnSpd")                                          \
  X(SUM_TBN_SWI_XXX_HNT, 0x0D, "tool bar: hint of tbnSwi")                                          \
  X(SUM_TBN_RTI_XXX_HNT, 0x0E, "tool bar: hint of tbnRti")                                          \
  X(SUM_TBN_UPL_XXX_HNT, 0x0F, "tool bar: hint of tbnUpl")                                          \
  X(SUM_TBN_RUN_XXX_HNT, 0x10, "tool bar: hint of tbnRun")                                          \
  X(SUM_TBN_UPR_XXX_HNT, 0x11, "tool bar: hint of tbnUpr")                                          \
  X(SUM_TBN_COM_STE_HNT, 0x12, "tool bar: hint of tbnComSte")                                       \
  X(SUM_TRN_STA_XXX_MIS, 0x14, "program walk: no Start vio")                                        \
  X(SUM_TRN_SWI_XXX_MIS, 0x15, "program walk: no switch-interrupt vio (not an error)")              \
  X(SUM_TRN_STA_XXX_MNY, 0x16, "program walk: more than one Start vio")                             \
  X(SUM_TRN_SWI_XXX_MNY, 0x17, "program walk: more than one switch-interrupt vio")                  \
  X(SUM_TRN_NXT_XXX_MIS, 0x18, "program walk: nothing connected after this vio")                    \
  X(SUM_TRN_NXT_XXX_INV, 0x19, "program walk: the next vio may not follow this one")                \
  X(SUM_TRN_NXT_XXX_MNY, 0x1A, "program walk: more than one vio after this one")                    \
  X(SUM_GEN_LBL_XXX_MIS, 0x1C, "token generation: completes \"Label <name> \"")                     \
  X(SUM_TRN_CND_ONE_SUC, 0x1D, "program walk: a condition after If has one successor")              \
  X(SUM_TRN_TWO_SUC_NIF, 0x1E, "program walk: two successors, not after an If")                     \
  X(SUM_TRN_THN_NXT_NEL, 0x1F, "program walk: Then first, the second not an Else")                  \
  X(SUM_TRN_ELS_NXT_NTH, 0x20, "program walk: Else first, the second not a Then")                   \
  X(SUM_TRN_CND_NXT_NTE, 0x21, "program walk: the first successor neither Then nor Else")           \
  X(SUM_TRN_END_XXX_NXT, 0x22, "program walk: a vio after Stop or RTI, or two after Goto")          \
  X(SUM_GUM_XXX_XXX_INS, 0x23, "program walk: the word for \"instruction\"")                        \
  X(SUM_GUM_XXX_XXX_AFT, 0x24, "program walk: the word for \"after\"")                              \
  X(SUM_LNK_COM_PRT_ERR, 0x25, "link: completes \"Comport <name>\", the port cannot be used")       \
  X(SUM_ACC_VIO_NAM, 0x26, "screen reader: the vio types' names by number, \"|\" between")          \
  X(SUM_ACC_VIO_POS, 0x27, "screen reader: a vio, \"%1, row %2, column %3\"")                       \
  X(SUM_ACC_VIO_FOL, 0x28, "screen reader: \"follows %1 in row %2, column %3\"")                    \
  X(SUM_ACC_VIO_NRC, 0x29, "screen reader: a vio the run does not reach from START")                \
  X(SUM_ACC_DLY_VAL, 0x2A, "screen reader: a time, \"%1 tenths of a second\"")                      \
  X(SUM_ACC_DST_VAL, 0x2B, "screen reader: a distance, \"%1 centimetres\"")                         \
  X(SUM_ACC_SPD_VAL, 0x2C, "screen reader: a speed, \"%1 centimetres per second\"")                 \
  X(SUM_ACC_LBL_VAL, 0x2D, "screen reader: a Label vio's name, \"name %1\"")                        \
  X(SUM_ACC_GTO_VAL, 0x2E, "screen reader: a Goto vio's target, \"jumps to label %1\"")             \
  X(SUM_ACC_SNS_TYP, 0x2F, "screen reader: the sensor type box")                                    \
  X(SUM_ACC_SNS_COM, 0x30, "screen reader: the sensor command box")                                 \
  X(SUM_ACC_ACT_TYP, 0x31, "screen reader: the actor type box")                                     \
  X(SUM_ACC_ACT_COM, 0x32, "screen reader: the actor command box")                                  \
  X(SUM_ACC_DLY_EDT, 0x33, "screen reader: the Delay vio's edit")                                   \
  X(SUM_ACC_DST_EDT, 0x34, "screen reader: the Actor vio's edit holding a distance")                \
  X(SUM_ACC_TIM_EDT, 0x35, "screen reader: the Actor vio's edit holding a time")                    \
  X(SUM_ACC_LBL_CBX, 0x36, "screen reader: the Label vio's name box")                               \
  X(SUM_ACC_GTO_CBX, 0x37, "screen reader: the Goto vio's target box")                              \
  X(SUM_ACC_SPD_EDT, 0x38, "screen reader: the engine speed edit")                                  \
  X(SUM_ACC_STA_BAR, 0x39, "screen reader: the status bar")                                         \
  X(SUM_ACC_CUE_TXT, 0x3A, "screen reader: the cues' words by cue number, \"|\" between")           \
  X(SUM_ACC_CMD_NAM, 0x3B, "screen reader: the four command buttons, \"|\" between")                \
  X(SUM_ACC_FLD, 0x3C, "screen reader: the programming field")                                      \
  X(SUM_ACC_TRC, 0x3D, "screen reader: the simulator pane's trace")                                 \
  X(SUM_ACC_ARN, 0x3E, "screen reader: the simulator pane's arena")                                 \
  X(SUM_ACC_CEL_EMP, 0x3F, "screen reader: an empty cell, \"row %1, column %2, empty\"")            \
  X(DM_DEV_LST, 0x40, "connection check: serial devices: %1")                                       \
  X(DM_DEV_NON, 0x41, "connection check: no serial device")                                         \
  X(DM_DEV_NON_DO, 0x42, "connection check: what to do without a device")                           \
  X(DM_WRD_SER, 0x43, "connection check: the words \"serial number\"")                              \
  X(DM_PRT_OKY, 0x44, "connection check: the port is present")                                      \
  X(DM_PRT_MIS, 0x45, "connection check: the port is missing")                                      \
  X(DM_PRT_MIS_DO, 0x46, "connection check: what to do for a missing port")                         \
  X(DM_PRT_NON, 0x47, "connection check: no port chosen")                                           \
  X(DM_PRM_OKY, 0x48, "connection check: the user may open the port")                               \
  X(DM_PRM_GRP, 0x49, "connection check: the user is not in the device's group")                    \
  X(DM_PRM_GRP_DO, 0x4A, "connection check: what to do about the group")                            \
  X(DM_PRM_LGN, 0x4B, "connection check: the login predates joining the group")                     \
  X(DM_PRM_LGN_DO, 0x4C, "connection check: what to do about the login")                            \
  X(DM_HLD_NON, 0x4D, "connection check: no program holds the port")                                \
  X(DM_HLD_OTH, 0x4E, "connection check: another program holds the port")                           \
  X(DM_HLD_OTH_DO, 0x4F, "connection check: what to do about that program")                         \
  X(DM_HLD_UNK, 0x50, "connection check: the holder is not known")                                  \
  X(DM_ROB_OKY, 0x51, "connection check: the robot answers")                                        \
  X(DM_ROB_SIL, 0x52, "connection check: the robot is silent")                                      \
  X(DM_ROB_SIL_DO, 0x53, "connection check: what to do about a silent robot")                       \
  X(DM_STP_SKP, 0x54, "connection check: a step not made")                                          \
  X(DM_OPN_ERR, 0x55, "connection check: the port could not be opened")                             \
  X(DM_WRD_PRC, 0x56, "connection check: the word \"process\"")                                     \
  X(DM_HLD_OWN, 0x57, "connection check: this program holds the port")                              \
  X(DM_ROB_OWN, 0x58, "connection check: the robot is on this program's link")                      \
  X(DM_TTL_DEV, 0x59, "connection check: title of the device step")                                 \
  X(DM_TTL_PRT, 0x5A, "connection check: title of the port step")                                   \
  X(DM_TTL_PRM, 0x5B, "connection check: title of the rights step")                                 \
  X(DM_TTL_HLD, 0x5C, "connection check: title of the holder step")                                 \
  X(DM_TTL_ROB, 0x5D, "connection check: title of the robot step")                                  \
  X(DM_WRD_DO, 0x5E, "connection check: \"What to do:\"")                                           \
  X(DM_TTL_DOC, 0x5F, "connection check: its title; the Options and check dialogs")                 \
  X(SUM_LNK_PCK_TOO_LNG, 0x60, "link: the program does not fit one packet; the length follows")     \
  X(SUM_LNK_DEV_LST, 0x61, "link: follows \"Comport <name>\", the device has gone")                 \
  X(SUM_LNK_TX_DRP, 0x62, "link: follows \"Comport <name>\", a packet was not sent whole")          \
  X(SUM_LNK_PRT_HLD, 0x63, "link: follows \"Comport <name>\", another program holds the port")      \
  X(SUM_LNK_UPL_NCF, 0x64, "link: the robot has not confirmed an upload")                           \
  X(DM_SIM_OWN, 0x65, "connection check: the built-in robot has no port to check")                  \
  X(DM_OPN_DEN_DO, 0x66, "connection check: what to do when the system refuses the port")            \
  X(DM_PRM_NAP, 0x67, "connection check: Windows has no rights to check for %1")                   \
  X(DM_HLD_OPN, 0x68, "connection check: %1 could be opened, so no other program holds it")        \
  X(SUM_KEY_CAP, 0x69, "keys: the Help item and the window that list every key")                   \
  X(SUM_KEY_GRP, 0x6A, "keys: headings of the groups without a menu, split by |")                   \
  X(SUM_KEY_FLD, 0x6B, "keys: what the field's own keys do, split by |")                            \
  X(SUM_KEY_TBR, 0x6C, "keys: what the tool bars' keys do, split by |")                             \
  X(SUM_ALL_UPL, 0x6D, "roll call window: the two upload buttons, split by |")                      \
  X(SUM_ALL_UPL_RES, 0x6E, "roll call window: what an upload came to, what to do, split by |")       \
  X(SUM_ALL_UPL_SUM, 0x6F, "roll call window: %1 of %2 robots have the program")                    \
  X(SUM_LGE_SAV_ERR, 0x70, "language: the choice could not be kept")                                \
  X(SUM_MNL_MIS, 0x71, "help: the manual is missing; the path follows")                             \
  X(SUM_MNL_NO_VIW, 0x72, "help: no program opens the manual; the path follows")                    \
  X(DM_ALL_TTL, 0x73, "roll call: its title; the Options button and its window")                    \
  X(DM_ALL_SUM, 0x74, "roll call: %1 of %2 ports have a robot that answers")                        \
  X(DM_ALL_NON, 0x75, "roll call: no serial port is present")                                       \
  X(DM_ALL_COL_PRT, 0x76, "roll call window: the column \"Port\"")                                  \
  X(DM_ALL_COL_RES, 0x77, "roll call window: the column \"Result\"")                                \
  X(DM_ALL_COL_DO, 0x78, "roll call window: the column \"What to do\"")                             \
  X(DM_ALL_CPY, 0x79, "roll call window: \"Copy\" (the report to the clipboard)")                   \
  X(DM_ALL_SAV, 0x7A, "roll call window: \"Save...\" (the report as a text file)")                  \
  X(DM_ALL_FLT, 0x7B, "roll call window: the file type \"Text files\"")                             \
  X(DM_ALL_SAV_ERR, 0x7C, "roll call window: the report could not be saved; %1 path, %2 why")       \
  X(SUM_FST_STP, 0x7D, "status bar: what to do first, until the first vio is placed")             \
  X(SUM_RBT_FLT_VIO, 0x7E, "link: robot fault, the lead-in before the name of the framed vio")       \
  X(SUM_MON_PAN, 0x7F, "robot monitor: its title and its item in the View menu")                  \
  X(SUM_MON_LBL, 0x80, "robot monitor: the two measurements and the switches, split by |")        \
  X(SUM_MON_PAU, 0x81, "robot monitor: the button \"Pause\", then \"Go on\", split by |")            \
  X(SUM_MON_CLR, 0x82, "robot monitor: the button \"Clear\"")                                       \
  X(SUM_MON_EXP, 0x83, "robot monitor: the button \"Export CSV...\" | the file type")              \
  X(SUM_MON_EXP_ERR, 0x84, "robot monitor: the values could not be exported; %1 path, %2 why")     \
  X(SUM_CLP_NO_ROM, 0x85, "clipboard: a pasted vio's cell is taken or outside; %1 column, %2 row")   \
  X(SUM_CLP_BAD, 0x86, "clipboard: the text is no program; %1 why")                                \
  X(SUM_CLP_ONE, 0x87, "clipboard: a second START or switch interrupt left out; %1 its caption")    \
  X(SUM_CLP_NON, 0x88, "clipboard: nothing selected; keys: how Shift+arrows and a drag select")   \
  X(SUM_MNU_CPY, 0x89, "Edit menu and vio menu: \"Copy\"")                                          \
  X(SUM_MNU_CUT, 0x8A, "Edit menu and vio menu: \"Cut\"")                                           \
  X(SUM_MNU_PST, 0x8B, "Edit menu and vio menu: \"Paste\"")                                         \
  X(SUM_MNU_DUP, 0x8C, "Edit menu and vio menu: \"Duplicate\"")                                     \
  X(SUM_SHT_FLT, 0x8D, "program sheet: the vio framed in red; %1 caption, %2 row, %3 column")         \
  X(SUM_LSN_SIZ, 0x8E, "lessons: the file is too big; %1 its path, %2 its size, %3 the limit")       \
  X(SUM_LSN_HDR, 0x8F, "lessons: detail, the line [lesson] is missing at the beginning")             \
  X(SUM_RBT_FLT_LED, 0x90, "link: robot fault, the lead-in before the address")                     \
  X(SUM_RBT_FLT_END, 0x91, "link: robot fault 1, past the program's end")                           \
  X(SUM_RBT_FLT_LOP, 0x92, "link: robot fault 2, a loop without a DELAY")                           \
  X(SUM_RBT_FLT_JMP, 0x93, "link: robot fault 3, a jump outside the program")                       \
  X(SUM_RBT_FLT_UNK, 0x94, "link: robot fault 4, an unknown instruction or sensor")                 \
  X(SUM_RBT_FLT_RTI, 0x95, "link: robot fault 5, RTI outside the interrupt routine")                \
  X(SUM_RBT_FLT_SPD, 0x96, "link: robot fault 6, ENGINE SPEED without its values")                  \
  X(SUM_SHT_PRT, 0x97, "File menu: \"Print sheet...\"")                                             \
  X(SUM_SHT_PDF, 0x98, "File menu: \"Export sheet (PDF)...\"")                                      \
  X(SUM_SHT_AUT, 0x99, "File menu: \"Author...\", also the caption of the author question")         \
  X(SUM_SHT_AUT_ASK, 0x9A, "program sheet: the question for the author's name")                     \
  X(SUM_SHT_UNT, 0x9B, "program sheet: the name of a program without a file, \"untitled\"")         \
  X(SUM_SHT_BY, 0x9C, "program sheet: \"Author:\", before the name")                                \
  X(SUM_SHT_ORD, 0x9D, "program sheet: the key to the run-order tag")                               \
  X(SUM_SHT_OVR, 0x9E, "program sheet: the total is over the byte budget")                          \
  X(SUM_SHT_PLN, 0x9F, "program sheet: the heading of the planning grid")                           \
  X(SUM_KEP_ASK, 0xA0, "keeping work: unsaved changes, save them?")                                 \
  X(SUM_KEP_ASK_CAP, 0xA1, "keeping work: caption of that question")                                \
  X(SUM_RCV_OFR, 0xA2, "keeping work: a recovery copy exists, restore it?")                         \
  X(SUM_RCV_CAP, 0xA3, "keeping work: caption of the recovery boxes")                               \
  X(SUM_RCV_BAD, 0xA4, "keeping work: the copy is damaged; the path follows")                       \
  X(SUM_RCV_WRT, 0xA5, "keeping work: the copy could not be written; the path follows")             \
  X(SUM_RCT_MNU, 0xA6, "recent files: the submenu")                                                 \
  X(SUM_RCT_MIS, 0xA7, "recent files: a listed file is gone; the path follows")                     \
  X(SUM_FIL_EXT, 0xA8, "File menu: its last item, which closes the window")                         \
  X(SUM_VIW_ZOM_IN, 0xA9, "View menu: \"Zoom in\", the field larger")                               \
  X(SUM_VIW_ZOM_OUT, 0xAA, "View menu: \"Zoom out\", the field smaller")                            \
  X(SUM_VIW_ZOM_ONE, 0xAB, "View menu: \"Actual size\", the field at 100 %")                        \
  X(SUM_VIW_HI_CTR, 0xAC, "View menu: \"High contrast\", the vios' strong colours and symbols")     \
  X(SUM_VIW_ZOM_STA, 0xAD, "status bar: the word before the field's zoom in percent")               \
  X(SUM_MTR_BYT, 0xB0, "program meter: \"bytes\"")                                                  \
  X(SUM_MTR_NOT_TRN, 0xB1, "program meter: tooltip lead when the program does not translate")       \
  X(SUM_VIW_LST, 0xB2, "View menu: \"Listing\"")                                                    \
  X(SUM_VIW_EXP, 0xB3, "View menu: \"Export picture\"")                                             \
  X(SUM_VIW_PRT, 0xB4, "View menu: \"Print\"")                                                      \
  X(SUM_VIW_EXP_ERR, 0xB5, "View menu: the picture could not be written; the path follows")         \
  X(SUM_VIW_PRT_ERR, 0xB6, "View menu: the program could not be printed; the printer follows")      \
  X(SUM_LSN_OPN, 0xB7, "File menu: \"Open lesson...\"")                                              \
  X(SUM_LSN_CLS, 0xB8, "File menu: \"Close lesson\"")                                                 \
  X(SUM_LSN_ERR, 0xB9, "lessons: a damaged file; %1 its path, %2 the line; the detail follows")      \
  X(SUM_LSN_RED, 0xBA, "lessons: the file cannot be read; the path follows")                         \
  X(SUM_LSN_LIN, 0xBB, "lessons: detail, a line that is not understood (%1)")                        \
  X(SUM_LSN_NAM, 0xBC, "lessons: detail, an unknown vio type or sensor or actor command (%1)")       \
  X(SUM_LSN_BDG, 0xBD, "lessons: detail, the budget is no whole number from 1 to 254")               \
  X(SUM_LSN_NOT, 0xBE, "lessons: the vio types (%1) the lesson does not offer")                      \
  X(SUM_LSN_PNL, 0xBF, "lessons: the title of the task panel")                                       \
  X(DM_PRM_MOD, 0xC0, "connection check: the device's group may not read and write it")             \
  X(DM_PRM_MOD_DO, 0xC1, "connection check: what to do about the device's rights")                  \
  X(SUM_SIM_PAN, 0xC2, "simulator pane: its title and the View menu item \"Simulator\"")            \
  X(SUM_SIM_CNT, 0xC3, "simulator pane: \"Continue\"")                                              \
  X(SUM_SIM_PAU, 0xC4, "simulator pane: \"Pause\"")                                                 \
  X(SUM_SIM_STP, 0xC5, "simulator pane: \"Step\" (one vio)")                                        \
  X(SUM_SIM_END, 0xC6, "simulator pane: \"Run to the end\" (breakpoints ignored)")                  \
  X(SUM_SIM_SWI, 0xC7, "simulator pane: \"Switch\", before the switch number")                      \
  X(SUM_SIM_LGT, 0xC8, "simulator pane: \"Light\" (the light slider)")                              \
  X(SUM_SIM_SPD, 0xC9, "simulator pane: \"Speed\"")                                                 \
  X(SUM_SIM_FST, 0xCA, "simulator pane: the speed \"as fast as possible\"")                         \
  X(SUM_SIM_RPL, 0xCB, "simulator pane: \"Replay\", the slider over the last run")                  \
  X(SUM_SIM_WHY_USR, 0xCC, "status bar: the simulated robot was paused")                            \
  X(SUM_SIM_WHY_BRK, 0xCD, "status bar: the simulated robot stopped at a breakpoint")               \
  X(SUM_SIM_WHY_STP, 0xCE, "status bar: the simulated robot made one step")                         \
  X(SUM_SIM_WHY_CPL, 0xCF, "status bar: the simulated robot ran its program to the end")            \
  X(SUM_VIO_BRK, 0xD0, "vio context menu: \"Breakpoint\", sets or clears the vio's breakpoint")     \
  X(SUM_FST_GUI, 0xD1, "first program guide: Help item \"First program\", also the panel's title")  \
  X(SUM_FST_STA, 0xD2, "first program guide: step text, place a Start")                             \
  X(SUM_FST_ACT, 0xD3, "first program guide: step text, place an Actor")                            \
  X(SUM_FST_STO, 0xD4, "first program guide: step text, place a Stop")                              \
  X(SUM_FST_UPR, 0xD5, "first program guide: step text, upload and run on the built-in robot")      \
  X(SUM_FST_DRV, 0xD6, "first program guide: step text, watch the robot drive")                     \
  X(SUM_FST_DON, 0xD7, "first program guide: the text at its end")                                  \
  X(SUM_FST_BTN, 0xD8, "first program guide: its buttons \"Next|Skip|Close\"")                      \
  X(SUM_FST_NUM, 0xD9, "first program guide: \"Step %1 of %2\"")                                    \
  X(DM_ROB_OWN_OKY, 0xDA, "connection check: the robot answers on this program's own link")         \
  X(SUM_MNU_FIL, 0xE0, "menu: \"&File\"")                                                           \
  X(SUM_MNU_OPN, 0xE1, "menu: \"&Open\"")                                                           \
  X(SUM_MNU_SAV, 0xE2, "menu: \"&Save\"")                                                           \
  X(SUM_MNU_SAS, 0xE3, "menu: \"Save &As...\"")                                                     \
  X(SUM_MNU_EDT, 0xE4, "menu: \"&Edit\"")                                                           \
  X(SUM_MNU_UND, 0xE5, "menu: \"&Undo\"")                                                           \
  X(SUM_MNU_RED, 0xE6, "menu: \"&Redo\"")                                                           \
  X(SUM_MNU_OPT, 0xE7, "menu: \"Options\", also the dialog's caption")                              \
  X(SUM_MNU_LGE, 0xE8, "menu: \"Language\"")                                                        \
  X(SUM_MNU_HLP, 0xE9, "menu: \"Help\"")                                                            \
  X(SUM_MNU_MNL_ENG, 0xEA, "menu: \"Manual (Englisch)\"")                                           \
  X(SUM_MNU_MNL_GER, 0xEB, "menu: \"Anleitung (Deutsch)\"")                                         \
  X(SUM_MNU_INF, 0xEC, "menu: \"Info\", also the dialog's caption")                                 \
  X(SUM_VIW_MNU, 0xED, "View menu: its title")                                                      \
  X(SUM_FIL_FLT, 0xEE, "file dialogs: \"Visual program files\"")                                    \
  X(SUM_FIL_OVR, 0xEF, "file dialogs: \"Overwrite existing file?\"")                                \
  X(SUM_FIL_OVR_CAP, 0xF0, "file dialogs: caption of that question")                                \
  X(SUM_ERR_CAP, 0xF1, "boxes: \"Error\", the caption of a box that tells of a failure")            \
  X(SUM_OPT_COM, 0xF2, "Options: \"Comport\"")                                                      \
  X(SUM_BTN_CLS, 0xF3, "Options and the check: \"Close\"")                                          \
  X(SUM_OPT_NON, 0xF4, "Options: \"No COM port present\"")                                          \
  X(SUM_OPT_NOT_KEP, 0xF5, "Options: \"COM%1 could not be kept\"")                                  \
  X(SUM_OPT_OPN, 0xF6, "Options: \"COM%1 is open\"")                                                \
  X(SUM_OPT_NOT_OPN, 0xF7, "Options: \"COM%1 could not be opened\"")                                \
  X(SUM_DOC_AGN, 0xF8, "the check: \"Check again\"")                                                \
  X(SUM_INF_VER, 0xF9, "Info: the version")                                                         \
  X(SUM_INF_RGT, 0xFA, "Info: the rights notice")                                                   \
  X(SUM_INF_WHY, 0xFB, "Info: what the program is for")                                             \
  X(SUM_INF_HLP, 0xFC, "Info: where help is found")                                                 \
  X(SUM_INF_MAD, 0xFD, "Info: what the program is made with")                                       \
  X(SUM_OPT_USE, 0xFE, "Options: \"in use\", behind a port another program holds")                  \
  X(SUM_OPT_SIM, 0xFF, "Options, link and check: \"Simulated robot (built in)\"")

enum TeSysUsrMsg : std::uint8_t {
  SUM_XXX_XXX_XXX_NON = 0x00,  // asked for by a control that has no hint; no text in the file
#define TESSARO_SYS_MSG_ENUM(nam, idf, usr) nam = idf,
  TESSARO_SYS_MSG_IDF(TESSARO_SYS_MSG_ENUM)
#undef TESSARO_SYS_MSG_ENUM
};

struct TSysMsgIdf {
  std::uint8_t Idf;
  const char* Nam;
  const char* Usr;
};

// Every message the program asks the file for, ascending.
inline constexpr TSysMsgIdf GcSysMsgIdf[] = {
#define TESSARO_SYS_MSG_ROW(nam, idf, usr) {idf, #nam, usr},
    TESSARO_SYS_MSG_IDF(TESSARO_SYS_MSG_ROW)
#undef TESSARO_SYS_MSG_ROW
};

namespace sysmsg_detail {
constexpr bool Ascending() {
  for (std::size_t i = 1; i < std::size(GcSysMsgIdf); ++i)
    if (GcSysMsgIdf[i].Idf <= GcSysMsgIdf[i - 1].Idf) return false;
  return GcSysMsgIdf[0].Idf != SUM_XXX_XXX_XXX_NON;
}
}  // namespace sysmsg_detail
static_assert(sysmsg_detail::Ascending(), "each message identifier once, in ascending order");
