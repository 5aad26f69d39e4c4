// tessaro-doctor: the connection doctor on the command line. The work is in a
// library so that the tests can run it in-process with their own system.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class IDocSys;

// Exit codes.
inline constexpr int GcDocAllOky = 0;  // every step passed; several ports: a robot answered on each
inline constexpr int GcDocFnd = 1;     // a step failed or could not be made
inline constexpr int GcDocUsg = 2;     // the command line is wrong

// Runs the check. args[0] is the program's name. The port and the language come
// from the options (--port COMn|PATH, --language 0|1|2) or else from the
// settings store ("Comport" and "Language" under the Options key); the message
// table is msgDir + "SysMsgFil.sys". --all, or --port given more than once,
// checks those ports all at once, a line each (RolCal.h).
int DocMai(const std::vector<std::string>& args, IDocSys& sys, const std::string& msgDir,
           std::ostream& out, std::ostream& err);
