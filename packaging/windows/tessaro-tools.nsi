; The installer of Tessaro's command-line tools for Windows:
;   makensis -DSTAGE=<build>/stage -DBIN=<stripped programs> -DSRC=<source> -DVERSION=1.0.0.7
;            -DOUTFILE=<setup.exe> tessaro-tools.nsi
; It lays out the tree the tools expect: bin\ with the programs and the two
; .sys files, pictures\, sounds\, lessons\, examples\ and Documentation\
; beside it, below Program Files\Tessaro; bin\ goes on the system's PATH.
; "/S" installs and uninstalls without asking.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "LogicLib.nsh"
!include "WinMessages.nsh"
!include "StrFunc.nsh"
${StrStr}
${UnStrRep}

!define KEY_UNINST "Software\Microsoft\Windows\CurrentVersion\Uninstall\TessaroTools"
!define KEY_ENV "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"

Name "Tessaro tools ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Tessaro"
ShowInstDetails nevershow
ShowUninstDetails nevershow

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Tools"
  SetOutPath "$INSTDIR\bin"
  File "${BIN}\tessaro-compile.exe"
  File "${BIN}\tessaro-upload.exe"
  File "${BIN}\tessaro-doctor.exe"
  File "${BIN}\zefor-sim.exe"
  File "${STAGE}\bin\SysMsgFil.sys"
  File "${STAGE}\bin\ExtComTkn.sys"
  SetOutPath "$INSTDIR\pictures"
  File /r "${STAGE}\pictures\*.bmp"
  SetOutPath "$INSTDIR\sounds"
  File /r "${STAGE}\sounds\*.wav"
  SetOutPath "$INSTDIR\lessons"
  File "${STAGE}\lessons\*.lesson"
  SetOutPath "$INSTDIR\examples"
  File "${STAGE}\examples\*.vio"
  SetOutPath "$INSTDIR\Documentation"
  File "${SRC}\docs\manual\*.pdf"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${KEY_UNINST}" "DisplayName" "Tessaro tools"
  WriteRegStr HKLM "${KEY_UNINST}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${KEY_UNINST}" "Publisher" "Brinkmoor"
  WriteRegStr HKLM "${KEY_UNINST}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${KEY_UNINST}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${KEY_UNINST}" "NoModify" 1
  WriteRegDWORD HKLM "${KEY_UNINST}" "NoRepair" 1

  ; The tools on the PATH, once.
  ReadRegStr $0 HKLM "${KEY_ENV}" "Path"
  ${StrStr} $1 ";$0;" ";$INSTDIR\bin;"
  ${If} $0 == ""
    WriteRegExpandStr HKLM "${KEY_ENV}" "Path" "$INSTDIR\bin"
  ${ElseIf} $1 == ""
    WriteRegExpandStr HKLM "${KEY_ENV}" "Path" "$0;$INSTDIR\bin"
  ${EndIf}
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=500
SectionEnd

Section "Uninstall"
  ; The entry goes from the PATH, and nothing else.
  ReadRegStr $0 HKLM "${KEY_ENV}" "Path"
  ${UnStrRep} $0 ";$0;" ";$INSTDIR\bin;" ";"
  StrCpy $0 $0 "" 1
  StrCpy $0 $0 -1
  WriteRegExpandStr HKLM "${KEY_ENV}" "Path" $0
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=500
  DeleteRegKey HKLM "${KEY_UNINST}"
  RMDir /r "$INSTDIR\bin"
  RMDir /r "$INSTDIR\pictures"
  RMDir /r "$INSTDIR\sounds"
  RMDir /r "$INSTDIR\lessons"
  RMDir /r "$INSTDIR\examples"
  RMDir /r "$INSTDIR\Documentation"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
