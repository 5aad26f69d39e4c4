# cmake -DIN=SysMsgFil.sys -DOUT=SysMsgBuiTxt.cpp -P EmbSysMsg.cmake
#
# Writes the message file, byte for byte, as one raw string literal into a
# source file of the messages library (messages/SysMsgBui.h reads it with the
# table's own lookup).
file(READ "${IN}" txt)
string(FIND "${txt}" ")tsm\"" bad)
if(NOT bad EQUAL -1)
  message(FATAL_ERROR "${IN} holds )tsm\", which would end the literal early")
endif()
file(WRITE "${OUT}.new"
  "// Written by the build from SysMsgFil.sys (messages/EmbSysMsg.cmake): do not edit.\n"
  "extern const char GcSysMsgBui[];\n"
  "const char GcSysMsgBui[] = R\"tsm(${txt})tsm\";\n")
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.new")
