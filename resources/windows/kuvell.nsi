; SPDX-License-Identifier: MIT
; Kuvell's installer, for one user and without administrator rights: the
; programs go to that user's own programs folder, the shortcut to that user's
; Start menu, and the uninstaller is listed under that user's installed apps.
; /S installs and uninstalls without a question. cmake/WindowsPackages.cmake
; runs makensis with VERSION, PUBLISHER, COPYRIGHT, STAGE (the folder of the
; programs), ICON and OUTFILE.
; A 64-bit installer for 64-bit programs (wine64 and Windows x64 run it alone).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kuvell"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "Kuvell"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Kuvell"
; An update goes where the last install went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Kuvell"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "Kuvell ${VERSION} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) ${COPYRIGHT}, MIT License"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\kuvell.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A running program can be neither replaced nor deleted. Both the setup and the
; uninstaller look before they change anything, so that a refusal leaves the
; install as it was instead of half old, half new or half removed; in silent mode
; the refusal is the exit status.
!macro REFUSE_IF_RUNNING program action
  ${If} ${FileExists} "$INSTDIR\${program}"
    ClearErrors
    FileOpen $0 "$INSTDIR\${program}" a
    ${If} ${Errors}
      MessageBox MB_ICONSTOP "Kuvell (${program}) is running. Close it and ${action} again." /SD IDOK
      Abort
    ${EndIf}
    FileClose $0
  ${EndIf}
!macroend

!macro REFUSE_IF_ANY_RUNNING action
  !insertmacro REFUSE_IF_RUNNING "kuvell.exe" "${action}"
  !insertmacro REFUSE_IF_RUNNING "kuvell-ifstat.exe" "${action}"
!macroend

Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Kuvell"
  !insertmacro REFUSE_IF_ANY_RUNNING "run the setup"
  SetOutPath "$INSTDIR"
  ClearErrors
  File "${STAGE}/kuvell.exe"
  File "${STAGE}/kuvell-ifstat.exe"
  ; A file that could not be written for another reason ends the setup too.
  ${If} ${Errors}
    DetailPrint "A program of Kuvell could not be written."
    Abort
  ${EndIf}
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Kuvell.lnk" "$INSTDIR\kuvell.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Kuvell"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\uninstall.exe$\" /S"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kuvell.exe,0"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The settings (HKCU\Software\kuvell) stay for a later install. The start at
; login goes: it would name a program that is no longer there.
Section "Uninstall"
  !insertmacro REFUSE_IF_ANY_RUNNING "uninstall"
  Delete "$INSTDIR\kuvell.exe"
  Delete "$INSTDIR\kuvell-ifstat.exe"
  Delete "$SMPROGRAMS\Kuvell.lnk"
  ReadRegStr $0 HKCU "${RUN_KEY}" "Kuvell"
  StrCmp $0 "$INSTDIR\kuvell.exe" forget_run_value
  StrCmp $0 "$\"$INSTDIR\kuvell.exe$\"" forget_run_value keep_run_value
  forget_run_value:
    DeleteRegValue HKCU "${RUN_KEY}" "Kuvell"
  keep_run_value:
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$INSTDIR\uninstall.exe"
  ; Without /r: a folder the user chose may hold files of their own.
  RMDir "$INSTDIR"
SectionEnd
