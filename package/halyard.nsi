; The Windows installer of Halyard, made by package/make-dist:
;   makensis -DVERSION=4.1.4.0 -DSTAGE=<staged files> -DREMOVE=<remove-files.nsh>
;            -DOUTFILE=<setup.exe> halyard.nsi
; It copies the staged distribution into the host's plug-in folder and
; registers an uninstaller that removes exactly those files again, so the
; user's settings and report files stay. English or Japanese, as the system.
; A test build for 64-bit Wine names another target (amd64-unicode).
!ifdef TARGET
Target ${TARGET}
!endif
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include LogicLib.nsh

!define PRODUCT "Halyard"
!define MAKER "Tarnwick"
!define UNINSTALLER "Halyard-Uninstall.exe"
!define REMEMBER_KEY "Software\${MAKER}\${PRODUCT}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
; The folder of the last install, else where the host keeps plug-ins when it
; is installed where its setup proposes.
InstallDir "$PROGRAMFILES32\RimArts\B2\PlugIns"
InstallDirRegKey HKLM "${REMEMBER_KEY}" "PluginFolder"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${MAKER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2024 ${MAKER}"
; The same keys in Japanese, which a Japanese system shows in the file's
; properties.
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "CompanyName" "${MAKER}"
VIAddVersionKey /LANG=1041 "FileDescription" "${PRODUCT} ${VERSION} セットアップ"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Copyright (C) 2024 ${MAKER}"

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_ABORTWARNING

!define MUI_DIRECTORYPAGE_TEXT_TOP "$(FolderText)"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE FolderLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\$(ReadmeFile)"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString FolderText ${LANG_ENGLISH} "Choose the plug-in folder of Becky! 2: the folder PlugIns in the folder where Becky! is installed. Halyard.dll and Quillon32.dll go there; Becky! loads them at its next start."
LangString FolderText ${LANG_JAPANESE} "Becky! 2 のプラグインフォルダー（Becky! をインストールしたフォルダーの中の PlugIns）を選んでください。Halyard.dll と Quillon32.dll をここに置きます。Becky! の次回起動時に読み込まれます。"
LangString InUseInstall ${LANG_ENGLISH} "$1 in $INSTDIR is in use: Becky! is running.$\r$\n$\r$\nClose Becky! and try again."
LangString InUseInstall ${LANG_JAPANESE} "$INSTDIR の $1 が使用中です（Becky! が実行中です）。$\r$\n$\r$\nBecky! を終了してから、もう一度お試しください。"
LangString InUseRemove ${LANG_ENGLISH} "$1 in $INSTDIR is in use: Becky! is running.$\r$\n$\r$\nClose Becky! and run the uninstaller again."
LangString InUseRemove ${LANG_JAPANESE} "$INSTDIR の $1 が使用中です（Becky! が実行中です）。$\r$\n$\r$\nBecky! を終了してから、もう一度アンインストールしてください。"
LangString ReadmeFile ${LANG_ENGLISH} "Halyard-ReadMe.txt"
LangString ReadmeFile ${LANG_JAPANESE} "Halyard-ReadMe-ja.txt"
LangString DisplayName ${LANG_ENGLISH} "Halyard ${VERSION} (Becky! 2 plug-in)"
LangString DisplayName ${LANG_JAPANESE} "Halyard ${VERSION}（Becky! 2 プラグイン）"

; Leaves in $1 the first of our DLLs in $INSTDIR that a running process has
; loaded, or "" when none is: a loaded DLL cannot be opened for writing.
!macro DEFINE_FIND_BUSY_DLL PREFIX
Function ${PREFIX}FindBusyDll
  StrCpy $1 ""
  Push $0
  ${ForEach} $2 0 1 + 1
    ${If} $2 == 0
      StrCpy $3 "Halyard.dll"
    ${Else}
      StrCpy $3 "Quillon32.dll"
    ${EndIf}
    ${If} $1 == ""
    ${AndIf} ${FileExists} "$INSTDIR\$3"
      ClearErrors
      FileOpen $0 "$INSTDIR\$3" a
      ${If} ${Errors}
        StrCpy $1 $3
      ${Else}
        FileClose $0
      ${EndIf}
    ${EndIf}
  ${Next}
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_FIND_BUSY_DLL ""
!insertmacro DEFINE_FIND_BUSY_DLL "un."

Function FolderLeave
  Call FindBusyDll
  ${If} $1 != ""
    MessageBox MB_OK|MB_ICONSTOP "$(InUseInstall)"
    Abort
  ${EndIf}
FunctionEnd

Section "Halyard"
  ; Silent installs skip the folder page: check again here.
  Call FindBusyDll
  ${If} $1 != ""
    MessageBox MB_OK|MB_ICONSTOP "$(InUseInstall)" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}

  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  WriteRegStr HKLM "${REMEMBER_KEY}" "PluginFolder" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "$(DisplayName)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "https://tarnwick.example/halyard/"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
  Call un.FindBusyDll
  ${If} $1 != ""
    MessageBox MB_OK|MB_ICONSTOP "$(InUseRemove)" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}

  ; Exactly the files that the installer copied (generated from the stage);
  ; settings and report files that the plug-in wrote stay.
  !include "${REMOVE}"
  Delete "$INSTDIR\${UNINSTALLER}"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${REMEMBER_KEY}"
  DeleteRegKey /ifempty HKLM "Software\${MAKER}"
SectionEnd
