// Widget-free parts of the main window: the captions and fixed names it uses,
// the match of the configured COM port, the tool button hint identifiers and
// the table of tool bar pictures.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Designed caption of the main window; the build number is appended at start.
inline constexpr const char* GcVslCnvCap = "Brinkmoor - Tessaro 1.3";

// File version of the program, set by the build.
std::string AppFilVer();

// Caption after start: designed caption + " (Build: " + version + ")".
std::string BldCap(const std::string& designed, const std::string& version);

// Index of the configured port in the list of present ports, -1 when it is
// not present. The whole names are compared, without regard to case, so
// "COM1" does not select "COM12"; a name shorter than "COMn" matches nothing.
int FndComPrtIdx(const std::string& name, const std::vector<std::string>& ports);

// Message identifier of a tool button's hint, by the button's name ("tbnSta"
// 0x02 ... "tbnComSte" 0x12); 0x00 for any other name. Names are compared exactly.
std::uint8_t TbnHntIdf(const std::string& name);

// The tool bar pictures: 20 entries of 32 x 32 pixels, loaded from the
// picture folder below the installation folder.
constexpr int GcTbnImgCnt = 20;
constexpr int GcTbnImgSiz = 32;
// File names, to be appended to the picture folder.
extern const std::array<const char*, GcTbnImgCnt> GcTbnImgFil;
// The order in which the entries are loaded.
extern const std::array<int, GcTbnImgCnt> GcTbnImgLodOrd;

// Images of the link state button.
constexpr int GcImgComOky = 18;
constexpr int GcImgComNok = 19;

// The two manuals, as paths below the documentation folder.
inline constexpr const char* GcMnlEng = "Brinkmoor Manual V2.07.pdf";
inline constexpr const char* GcMnlGer = "Brinkmoor Anleitung V2.07.pdf";
// The documentation folder: on Windows the designed "C:\Brinkmoor\Documentation\",
// elsewhere the folder "Documentation" inside the installation folder when there
// is one (the installed package), else the one beside the installation folder.
std::string DocDir(const std::string& insDir);

// Texts of the window in the chosen language: menus, dialogs and their buttons.
constexpr std::uint8_t SUM_MNU_FIL = 0xE0;      // "&File"
constexpr std::uint8_t SUM_MNU_OPN = 0xE1;      // "&Open"
constexpr std::uint8_t SUM_MNU_SAV = 0xE2;      // "&Save"
constexpr std::uint8_t SUM_MNU_SAS = 0xE3;      // "Save &As..."
constexpr std::uint8_t SUM_MNU_EDT = 0xE4;      // "&Edit"
constexpr std::uint8_t SUM_MNU_UND = 0xE5;      // "&Undo"
constexpr std::uint8_t SUM_MNU_RED = 0xE6;      // "&Redo"
constexpr std::uint8_t SUM_MNU_OPT = 0xE7;      // "Options", also the dialog's caption
constexpr std::uint8_t SUM_MNU_LGE = 0xE8;      // "Language"
constexpr std::uint8_t SUM_MNU_HLP = 0xE9;      // "Help"
constexpr std::uint8_t SUM_MNU_MNL_ENG = 0xEA;  // "Manual (Englisch)"
constexpr std::uint8_t SUM_MNU_MNL_GER = 0xEB;  // "Anleitung (Deutsch)"
constexpr std::uint8_t SUM_MNU_INF = 0xEC;      // "Info", also the dialog's caption
constexpr std::uint8_t SUM_FIL_FLT = 0xEE;      // "Visual program files"
constexpr std::uint8_t SUM_FIL_OVR = 0xEF;      // "Overwrite existing file?"
constexpr std::uint8_t SUM_FIL_OVR_CAP = 0xF0;  // "Warning, file allready exists"
constexpr std::uint8_t SUM_OPT_COM = 0xF2;      // "Comport"
constexpr std::uint8_t SUM_BTN_CLS = 0xF3;      // "Close"
constexpr std::uint8_t SUM_OPT_NON = 0xF4;      // "No COM port present"
constexpr std::uint8_t SUM_OPT_NOT_KEP = 0xF5;  // "COM%1 could not be kept"
constexpr std::uint8_t SUM_OPT_OPN = 0xF6;      // "COM%1 is open"
constexpr std::uint8_t SUM_OPT_NOT_OPN = 0xF7;  // "COM%1 could not be opened"
constexpr std::uint8_t SUM_DOC_AGN = 0xF8;      // "Check again"
constexpr std::uint8_t SUM_INF_VER = 0xF9;      // "Tessaro version 1.1"
constexpr std::uint8_t SUM_INF_RGT = 0xFA;      // the rights notice
constexpr std::uint8_t SUM_INF_WHY = 0xFB;      // what the program is for
constexpr std::uint8_t SUM_INF_HLP = 0xFC;      // where help is found
constexpr std::uint8_t SUM_INF_MAD = 0xFD;      // what the program is made with
constexpr std::uint8_t SUM_OPT_USE = 0xFE;      // "in use", behind a port another program holds
constexpr std::uint8_t SUM_DOC_TTL = 0x5F;      // "Check connection"

// Message id of the table in language lge (0 English, 1 Dutch, 2 German), or
// dft when the table lacks it or none is loaded. GuLstErrMsg stays as it was.
std::string LgeTxt(std::uint8_t id, std::uint8_t lge, const char* dft);

// What the start found missing below the installation folder, for the one
// message at start: a missing installation folder, then each folder of
// missing pictures and sounds (native full paths) with the files not found
// there, or the folder itself when it does not exist. Folders below a
// missing installation folder are not named again. Empty when nothing is missing.
std::string MisFilRpt(const std::string& insDir, const std::vector<std::string>& pics,
                      const std::vector<std::string>& snds);
