// Widget-free parts of the main window: the captions and fixed names it uses,
// the match of the configured COM port, the tool button hint identifiers and
// the table of tool bar pictures.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "messages/SysMsgIdf.h"

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

// Message id of the table in language lge (0 English, 1 Dutch, 2 German), or
// the built-in English text when the table lacks it or none is loaded.
// GuLstErrMsg stays as it was.
std::string LgeTxt(std::uint8_t id, std::uint8_t lge);
// The name of the built-in simulated robot in language lge, where a port's
// name would stand.
std::string SimPrtTxt(std::uint8_t lge);

// What the start found missing below the installation folder, for the one
// message at start: a missing installation folder, then each folder of
// missing pictures and sounds (native full paths) with the files not found
// there, or the folder itself when it does not exist. Folders below a
// missing installation folder are not named again. Empty when nothing is missing.
std::string MisFilRpt(const std::string& insDir, const std::vector<std::string>& pics,
                      const std::vector<std::string>& snds);
