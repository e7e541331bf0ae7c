; The product's setup program. makensis builds it from a build folder's bin/:
;   makensis -DARCH=x86|amd64 -DBIN_DIR=<bin folder> -DOUT_FILE=<setup.exe> -DVERSION=3.3.1.0 vexo.nsi
; It installs play.exe with i.gif, VexoTip.exe with PopMessage.xml and its skin folder,
; VexoTips.dll, and VexoMedia.dll (the player control play.exe uses when the maker's is not
; installed, registered for the same users) with the decoding libraries it loads (FFmpeg's and
; dav1d, with their licences in licenses\) into one folder (the tips' store folder is
; VexoTip.exe's own), for the current
; user or for all users (/CurrentUser, /AllUsers), silently with /S, into a chosen folder with
; /D=. The uninstaller removes what setup installed and keeps config.ini and the two lists
; unless the user ticks their removal. It also offers play.exe in Explorer's "Open with" for the
; video types the player control plays, beside whatever program opens them already.
Unicode true
!if "${ARCH}" == "amd64"
  Target amd64-unicode
  !define MULTIUSER_USE_PROGRAMFILES64
!else
  Target x86-unicode
!endif
SetCompressor /SOLID lzma

!define PRODUCT "绮映影视盒"
!define PRODUCT_KEY "VexoPlay"
!define PUBLISHER "Vexo 项目"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT_KEY}"
!define SETTINGS_KEY "Software\Vexo\Play"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "Vexo"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${SETTINGS_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${SETTINGS_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallFolder"
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh

Name "${PRODUCT}"
!define PLAYER_CLASS_ID "{E1C24F98-0161-4903-919F-EAFC37068410}"
!define PLAYER_CLASS_KEY "Software\Classes\CLSID\${PLAYER_CLASS_ID}"
!define PLAYER_PROG_ID "Vexo.MediaPlayer"
; "Open with" for the video files the player control plays: the program under Applications,
; and a type of its own listed beside whatever program a file type already opens with.
!define APP_KEY "Software\Classes\Applications\play.exe"
!define VIDEO_PROG_ID "VexoPlay.Video"
!macro ForEachVideoType MACRO
  !insertmacro ${MACRO} ".mp4"
  !insertmacro ${MACRO} ".mkv"
  !insertmacro ${MACRO} ".avi"
  !insertmacro ${MACRO} ".wmv"
  !insertmacro ${MACRO} ".webm"
  !insertmacro ${MACRO} ".mpg"
  !insertmacro ${MACRO} ".mpeg"
  !insertmacro ${MACRO} ".ts"
  !insertmacro ${MACRO} ".m4v"
  !insertmacro ${MACRO} ".mov"
  !insertmacro ${MACRO} ".flv"
!macroend
!macro AddOpenWith EXT
  WriteRegStr SHCTX "${APP_KEY}\SupportedTypes" "${EXT}" ""
  WriteRegNone SHCTX "Software\Classes\${EXT}\OpenWithProgids" "${VIDEO_PROG_ID}"
!macroend
; Only our value goes, and a key only when we leave it empty: another program's association
; of the type stays as it was.
!macro RemoveOpenWith EXT
  DeleteRegValue SHCTX "Software\Classes\${EXT}\OpenWithProgids" "${VIDEO_PROG_ID}"
  DeleteRegKey /ifnosubkeys /ifnovalues SHCTX "Software\Classes\${EXT}\OpenWithProgids"
  DeleteRegKey /ifnosubkeys /ifnovalues SHCTX "Software\Classes\${EXT}"
!macroend
OutFile "${OUT_FILE}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Copyright © 2026 ${PUBLISHER}"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WELCOME}"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${WELCOME}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\play.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; The pages speak the system's language: Chinese on the systems the product is made for,
; English elsewhere (the first language listed is the fallback).
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString SectionProgram ${LANG_SIMPCHINESE} "${PRODUCT}"
LangString SectionProgram ${LANG_ENGLISH} "${PRODUCT} (Vexo video box)"
LangString SectionDesktop ${LANG_SIMPCHINESE} "桌面快捷方式"
LangString SectionDesktop ${LANG_ENGLISH} "Desktop shortcut"
LangString UnSectionProgram ${LANG_SIMPCHINESE} "程序文件和快捷方式"
LangString UnSectionProgram ${LANG_ENGLISH} "Program files and shortcuts"
LangString UnSectionData ${LANG_SIMPCHINESE} "设置和观看记录（config.ini、date.dat、date_f.dat）"
LangString UnSectionData ${LANG_ENGLISH} "Settings and watch history (config.ini, date.dat, date_f.dat)"
LangString UninstallName ${LANG_SIMPCHINESE} "卸载 ${PRODUCT}"
LangString UninstallName ${LANG_ENGLISH} "Uninstall ${PRODUCT}"

Var StartMenuFolder

Function .onInit
  ; MultiUser sets the folder of the chosen mode; a folder given with /D= comes first.
  StrCpy $0 $INSTDIR
  !insertmacro MULTIUSER_INIT
  StrCmp $0 "" +2
  StrCpy $INSTDIR $0
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "!$(SectionProgram)" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${BIN_DIR}/play.exe"
  File "${BIN_DIR}/i.gif"
  File "${BIN_DIR}/VexoTip.exe"
  File "${BIN_DIR}/PopMessage.xml"
  File "${BIN_DIR}/VexoTips.dll"
  File "${BIN_DIR}/VexoMedia.dll"
  ; FFmpeg's libraries and dav1d, which the control decodes with, and their licences.
  CreateDirectory "$INSTDIR\licenses"
  !include "${MEDIA_FILES}"
  ; The player control's class, for all users or for this one as the installation is.
  WriteRegStr SHCTX "${PLAYER_CLASS_KEY}" "" "Vexo media player control"
  WriteRegStr SHCTX "${PLAYER_CLASS_KEY}\InprocServer32" "" "$INSTDIR\VexoMedia.dll"
  WriteRegStr SHCTX "${PLAYER_CLASS_KEY}\InprocServer32" "ThreadingModel" "Apartment"
  WriteRegStr SHCTX "${PLAYER_CLASS_KEY}\ProgID" "" "${PLAYER_PROG_ID}"
  WriteRegStr SHCTX "Software\Classes\${PLAYER_PROG_ID}\CLSID" "" "${PLAYER_CLASS_ID}"
  ; Explorer's "Open with": the command hands the file to a running copy as any later copy does.
  WriteRegStr SHCTX "${APP_KEY}" "FriendlyAppName" "${PRODUCT}"
  WriteRegStr SHCTX "${APP_KEY}\DefaultIcon" "" "$INSTDIR\play.exe,0"
  WriteRegStr SHCTX "${APP_KEY}\shell\open\command" "" '"$INSTDIR\play.exe" "%1"'
  WriteRegStr SHCTX "Software\Classes\${VIDEO_PROG_ID}" "" "${PRODUCT} 视频文件"
  WriteRegStr SHCTX "Software\Classes\${VIDEO_PROG_ID}\DefaultIcon" "" "$INSTDIR\play.exe,0"
  WriteRegStr SHCTX "Software\Classes\${VIDEO_PROG_ID}\shell\open\command" "" '"$INSTDIR\play.exe" "%1"'
  !insertmacro ForEachVideoType AddOpenWith
  ; Explorer reads the associations again.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  SetOutPath "$INSTDIR\skin"
  File "${BIN_DIR}/skin/*.bmp"
  SetOutPath "$INSTDIR"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  StrCpy $StartMenuFolder "$SMPROGRAMS\${PRODUCT}"
  CreateDirectory "$StartMenuFolder"
  CreateShortcut "$StartMenuFolder\${PRODUCT}.lnk" "$INSTDIR\play.exe"
  CreateShortcut "$StartMenuFolder\$(UninstallName).lnk" "$INSTDIR\uninstall.exe" "/$MultiUser.InstallMode"

  ; Add/Remove Programs, in the hive of the chosen mode.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\play.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegStr SHCTX "${SETTINGS_KEY}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${SETTINGS_KEY}" "InstallFolder" "$INSTDIR"
SectionEnd

Section "$(SectionDesktop)" SecDesktop
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\play.exe"
SectionEnd

Section "un.$(UnSectionProgram)" UnSecProgram
  SectionIn RO
  ; Only what setup put there, and what the programs make and remake by themselves: the list
  ; pages, the tips document and its movies, and temporaries a crash may have left.
  Delete "$INSTDIR\play.exe"
  Delete "$INSTDIR\i.gif"
  Delete "$INSTDIR\VexoTip.exe"
  Delete "$INSTDIR\PopMessage.xml"
  Delete "$INSTDIR\VexoTips.dll"
  Delete "$INSTDIR\VexoMedia.dll"
  !include "${MEDIA_DELETES}"
  RMDir "$INSTDIR\licenses"
  DeleteRegKey SHCTX "${PLAYER_CLASS_KEY}"
  DeleteRegKey SHCTX "Software\Classes\${PLAYER_PROG_ID}"
  !insertmacro ForEachVideoType RemoveOpenWith
  DeleteRegKey SHCTX "${APP_KEY}"
  DeleteRegKey SHCTX "Software\Classes\${VIDEO_PROG_ID}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  Delete "$INSTDIR\skin\*.bmp"
  RMDir "$INSTDIR\skin"
  Delete "$INSTDIR\c.htm"
  Delete "$INSTDIR\f.htm"
  Delete "$INSTDIR\VexoTips.xml"
  Delete "$INSTDIR\VexoTips_.xml"
  Delete "$INSTDIR\*.swf"
  Delete "$INSTDIR\*.~*"
  Delete "$INSTDIR\uninstall.exe"

  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\$(UninstallName).lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  Delete "$DESKTOP\${PRODUCT}.lnk"

  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  DeleteRegKey SHCTX "${SETTINGS_KEY}"
  DeleteRegKey /ifempty SHCTX "Software\Vexo"
SectionEnd

; Off unless ticked: the user's settings and watch history stay for a later installation.
Section /o "un.$(UnSectionData)" UnSecData
  Delete "$INSTDIR\config.ini"
  Delete "$INSTDIR\date.dat"
  Delete "$INSTDIR\date_f.dat"
SectionEnd

; Last: the folder goes only when nothing is left in it.
Section "-un.Folder"
  RMDir "$INSTDIR"
SectionEnd
