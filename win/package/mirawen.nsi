; The Windows installer; made by win/CMakeLists.txt with makensis, which
; defines VERSION, STAGE (the folder with the files) and OUTFILE.
; A 64-bit installer, as the programs are: it runs where they run.
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"

Name "Mirawen ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Mirawen"
RequestExecutionLevel admin
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "Mirawen"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "Mirawen ${VERSION} setup"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (C) 2026 Mirawen"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Mirawen"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

LangString UninstallLink ${LANG_SIMPCHINESE} "卸载 Mirawen"
LangString UninstallLink ${LANG_ENGLISH} "Uninstall Mirawen"

Section
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${STAGE}\mirawen.exe"
  File "${STAGE}\mirawen-lookup.exe"
  File "${STAGE}\mirawen-import.exe"
  File "${STAGE}\TOPhonetic.ttf"
  File "${STAGE}\LICENSE-DejaVu.txt"
  File "${STAGE}\README.txt"
  File "${STAGE}\大学四级.txt"
  File "${STAGE}\大学六级.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS\Mirawen"
  CreateShortcut "$SMPROGRAMS\Mirawen\Mirawen.lnk" "$INSTDIR\mirawen.exe"
  CreateShortcut "$SMPROGRAMS\Mirawen\$(UninstallLink).lnk" "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Mirawen"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Mirawen"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\mirawen.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$INSTDIR\mirawen.exe"
  Delete "$INSTDIR\mirawen-lookup.exe"
  Delete "$INSTDIR\mirawen-import.exe"
  Delete "$INSTDIR\TOPhonetic.ttf"
  Delete "$INSTDIR\LICENSE-DejaVu.txt"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\大学四级.txt"
  Delete "$INSTDIR\大学六级.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Mirawen\*.lnk"
  RMDir "$SMPROGRAMS\Mirawen"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
