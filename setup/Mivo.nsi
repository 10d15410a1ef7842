; MivoSetup.exe: installs Mivo and its Messenger Plus! plug-in, records the install folder
; where the plug-in looks for it, registers the plug-in and adds an uninstaller.
; Built by setup/CMakeLists.txt, which passes the defines checked below.
; MIVO_AMD64: the 64-bit build's setup, for the tests on hosts that run no 32-bit process.
!ifdef MIVO_AMD64
  Target amd64-unicode
!else
  Unicode true
!endif

!macro RequireDefine NAME
  !ifndef ${NAME}
    !error "makensis needs -D${NAME}=... (build MivoSetup.exe through CMake)"
  !endif
!macroend
!insertmacro RequireDefine MIVO_VERSION
!insertmacro RequireDefine MIVO_EXE
!insertmacro RequireDefine MIVO_PLUGIN_DLL
!insertmacro RequireDefine MIVO_ICON
!insertmacro RequireDefine MIVO_SETUP_OUT

!define PUBLISHER "Tarrow BVBA"
; The plug-in reads "InstallPath" here; the setup and the plug-in are of one architecture,
; so on 64-bit Windows they meet in the same view of HKLM\Software.
!define PRODUCT_KEY "Software\Tarrow\Mivo"
!define MAKER_KEY "Software\Tarrow"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Mivo"
!define SHORTCUT "$SMPROGRAMS\Mivo.lnk"

Name "Mivo"
OutFile "${MIVO_SETUP_OUT}"
!ifdef MIVO_AMD64
  InstallDir "$PROGRAMFILES64\Mivo"
!else
  InstallDir "$PROGRAMFILES\Mivo"
!endif
; A new setup over an old one proposes the folder already in use.
InstallDirRegKey HKLM "${PRODUCT_KEY}" "InstallPath"
; HKLM, HKEY_CLASSES_ROOT and Program Files need an administrator.
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; A file that cannot be written fails the setup instead of being skipped.
AllowSkipFiles off
BrandingText "Mivo ${MIVO_VERSION}"
ShowInstDetails show
ShowUninstDetails show

!include LogicLib.nsh
!include MUI2.nsh

!define MUI_ICON "${MIVO_ICON}"
!define MUI_UNICON "${MIVO_ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${MIVO_VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Mivo"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Mivo Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${MIVO_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${MIVO_VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PUBLISHER}"

; $0 = $INSTDIR without trailing backslashes. The plug-in appends "\mivo.exe" as it
; stands, so "C:\Mivo\" would give "C:\Mivo\\mivo.exe"; a drive root becomes "C:",
; which still gives "C:\mivo.exe".
Function FolderForPlugin
  StrCpy $0 $INSTDIR
  ${Do}
    StrCpy $1 $0 1 -1
    ${If} $1 == "\"
    ${OrIf} $1 == "/"
      StrCpy $0 $0 -1
    ${Else}
      ${ExitDo}
    ${EndIf}
  ${Loop}
FunctionEnd

Section "Mivo"
  SectionIn RO
  SetShellVarContext all
  Call FolderForPlugin

  SetOutPath "$INSTDIR"
  ; The plug-in starts "<folder>\mivo.exe".
  File "/oname=mivo.exe" "${MIVO_EXE}"
  File "/oname=MivoPluginMsgPlus.dll" "${MIVO_PLUGIN_DLL}"
  ; The program keeps its thumbnail cache here.
  CreateDirectory "$INSTDIR\temppics"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Mivo"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${MIVO_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$0\mivo.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$0\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$0\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1

  WriteRegStr HKLM "${PRODUCT_KEY}" "InstallPath" "$0"

  SetOutPath "$INSTDIR"  ; the shortcut's working folder
  CreateShortCut "${SHORTCUT}" "$INSTDIR\mivo.exe" "" "$INSTDIR\mivo.exe" 0

  ; Last: a setup whose plug-in is not registered must not end as a success.
  ClearErrors
  RegDLL "$INSTDIR\MivoPluginMsgPlus.dll"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "The Messenger Plus! plug-in could not be registered.$\r$\nRun the setup again as an administrator." /SD IDOK
    Abort "The Messenger Plus! plug-in could not be registered."
  ${EndIf}
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  UnRegDLL "$INSTDIR\MivoPluginMsgPlus.dll"
  Delete /REBOOTOK "$INSTDIR\MivoPluginMsgPlus.dll"
  Delete /REBOOTOK "$INSTDIR\mivo.exe"
  ; The cache holds downloaded thumbnails only.
  RMDir /r /REBOOTOK "$INSTDIR\temppics"
  Delete "${SHORTCUT}"

  DeleteRegValue HKLM "${PRODUCT_KEY}" "InstallPath"
  ; Other products of the maker may keep keys of their own here.
  DeleteRegKey /ifempty HKLM "${PRODUCT_KEY}"
  DeleteRegKey /ifempty HKLM "${MAKER_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  Delete "$INSTDIR\uninstall.exe"
  ; Not /r: files the user put into the folder stay, and so does the folder then.
  RMDir /REBOOTOK "$INSTDIR"
SectionEnd
