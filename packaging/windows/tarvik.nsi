; The Windows installer of Tarvik, made by scripts/package-windows.sh with
; makensis: installs for the user alone (no administrator), into the user's
; programs folder, with a Start-menu entry and, when chosen, a start at
; logon; the uninstaller takes away what was installed and leaves the
; user's settings (Tarvik.ini, Tarvik.lst, Tarvik.spt, the logs) where they
; are. It shows the licence (MIT, LICENSE.txt) before anything is
; installed.
;
; One installer for both kinds of PC: it carries the 64-bit and the 32-bit
; tarvik.exe and installs the 64-bit one on 64-bit Windows, the 32-bit one
; elsewhere. Its own stub is 32-bit (STUB x86-unicode) so that it starts
; everywhere.
;
; /AUTOSTART on the command line ticks the start at logon, so that a silent
; install (/S /AUTOSTART) can choose it too.
;
; Defines (makensis -D...): VERSION, STUB, OUTFILE, ICON, PROGRAMS64 and
; PROGRAMS32 (folders with tarvik.exe and tarvik.com), and FILES, an include
; written by the script with the macros TARVIK_COMMON_FILES and
; TARVIK_DELETE_COMMON_FILES (the picture, the manual, the sounds).
Target ${STUB}
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvik"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!include "x64.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"
; Behind the 64-bit stub ${RunningX64} is known when compiling, and
; LogicLib leaves a label unused.
!pragma warning disable 6012
!include "${FILES}"

Name "Tarvik ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tarvik"
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\tarvik.exe"
; The licence (MIT) first, from the files every installation gets.
!insertmacro MUI_PAGE_LICENSE "${PROGRAMS64}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
; The components take the page's whole width: beside a description box
; "ログオン時に Tarvik を起動する" would lose its end.
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Section "Tarvik" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  ${If} ${RunningX64}
    File "${PROGRAMS64}/tarvik.exe"
    File "${PROGRAMS64}/tarvik.com"
  ${Else}
    File "${PROGRAMS32}/tarvik.exe"
    File "${PROGRAMS32}/tarvik.com"
  ${EndIf}
  !insertmacro TARVIK_COMMON_FILES
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS\Tarvik"
  CreateShortCut "$SMPROGRAMS\Tarvik\Tarvik.lnk" "$INSTDIR\tarvik.exe"
  CreateShortCut "$SMPROGRAMS\Tarvik\Tarvik のアンインストール.lnk" "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tarvik"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Tarvik"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tarvik.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "ログオン時に Tarvik を起動する" SecAutostart
  WriteRegStr HKCU "${RUN_KEY}" "Tarvik" '"$INSTDIR\tarvik.exe"'
SectionEnd

Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/AUTOSTART" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecAutostart}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  DeleteRegValue HKCU "${RUN_KEY}" "Tarvik"
  Delete "$SMPROGRAMS\Tarvik\Tarvik.lnk"
  Delete "$SMPROGRAMS\Tarvik\Tarvik のアンインストール.lnk"
  RMDir "$SMPROGRAMS\Tarvik"
  Delete "$INSTDIR\tarvik.exe"
  Delete "$INSTDIR\tarvik.com"
  !insertmacro TARVIK_DELETE_COMMON_FILES
  Delete "$INSTDIR\uninstall.exe"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; Removed only when empty: the user's settings stay.
  RMDir "$INSTDIR"
SectionEnd
