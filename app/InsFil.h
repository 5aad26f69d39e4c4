// What the window finds below its installation folder: the two manuals and
// their folder, and the start's report of the pictures and sounds that are missing.
#pragma once

#include <string>
#include <vector>

// The two manuals, as paths below the documentation folder.
inline constexpr const char* GcMnlEng = "Brinkmoor Manual V2.07.pdf";
inline constexpr const char* GcMnlGer = "Brinkmoor Anleitung V2.07.pdf";
// The documentation folder: on Windows the designed "C:\Brinkmoor\Documentation\",
// elsewhere the folder "Documentation" inside the installation folder when there
// is one (the installed package), else the one beside the installation folder.
std::string DocDir(const std::string& insDir);

// What the start found missing below the installation folder, for the one
// message at start: a missing installation folder, then each folder of
// missing pictures and sounds (native full paths) with the files not found
// there, or the folder itself when it does not exist. Folders below a
// missing installation folder are not named again. Empty when nothing is missing.
std::string MisFilRpt(const std::string& insDir, const std::vector<std::string>& pics,
                      const std::vector<std::string>& snds);
