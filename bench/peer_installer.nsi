; A four-page installer (welcome, folder, progress, finish) of the same three
; files, for the amd64 Unicode stub. bench/run builds it with
;   makensis -DPAYLOAD=folder-with-the-files -DOUTFILE=installer.exe
; and runs it silently: installer.exe /S /D=folder
Unicode true
Target amd64-unicode
SetCompressor zlib
RequestExecutionLevel user

!include "MUI2.nsh"

Name "Quorvane 1.4"
OutFile "${OUTFILE}"
InstallDir "$APPDATA\Quorvane1.4"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "Quorvane"
  SetOutPath "$INSTDIR"
  File "${PAYLOAD}\*.*"
  CreateShortCut "$DESKTOP\Quorvane1.4.lnk" "$INSTDIR\Quorvane1.4.exe"
  FileOpen $0 "$DESKTOP\Quorvane1.4.bat" w
  FileWrite $0 'start "" "$INSTDIR\Quorvane1.4.exe"$\r$\n'
  FileClose $0
SectionEnd
