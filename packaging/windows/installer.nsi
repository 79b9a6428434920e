; SPDX-License-Identifier: GPL-3.0-or-later
; Pendro's Windows installer (German). Per-user by default, so a pupil needs no administrator
; rights; an administrator may choose all users instead, and school IT installs silently:
;   Pendro-<version>-setup.exe /S              per user, into %LOCALAPPDATA%\Programs\Pendro
;   Pendro-<version>-setup.exe /S /AllUsers    for all users, into %ProgramFiles%\Pendro
;   Pendro-<version>-setup.exe /S /Desktop     also a desktop shortcut
; Built by scripts/windows.sh with: makensis -DVERSION=... -DAPP_DIR=... -DOUT_FILE=...
;   -DLICENSE_FILE=... -DICON_FILE=... -DINSTALL_LIST=... -DFILE_LIST=... [-DSIGN_SCRIPT=...]
;   installer.nsi
; The same files with the same time stamps give the same installer, byte for byte: the files
; are listed one by one in a fixed order, and their times are the commit's.
; A 64-bit installer for a 64-bit program (and no 32-bit layer needed under Wine).
Target amd64-unicode
SetCompressor /SOLID lzma

!define APP_NAME "Pendro"
!define PUBLISHER "Pendro"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP_NAME}"
!define SETTINGS_KEY "Software\${APP_NAME}"
; The Start-menu entry that opens what the licence and the source are (Quelltext\QUELLTEXT.txt).
!define SOURCE_LINK "${APP_NAME} – Lizenz und Quelltext"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${APP_NAME}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${SETTINGS_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include x64.nsh

Name "${APP_NAME} ${VERSION}"
OutFile "${OUT_FILE}"
BrandingText "${APP_NAME} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1031 "ProductName" "${APP_NAME}"
VIAddVersionKey /LANG=1031 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1031 "FileDescription" "${APP_NAME} ${VERSION} Setup"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "LegalCopyright" "GPL-3.0-or-later"

!define MUI_ICON "${ICON_FILE}"
!define MUI_UNICON "${ICON_FILE}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\pendro.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Quelltext\QUELLTEXT.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Lizenz und Quelltext anzeigen"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE_FILE}"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "German"

; With a certificate, the uninstaller is signed before it goes into the installer.
!ifdef SIGN_SCRIPT
    !uninstfinalize '"${SIGN_SCRIPT}" "%1"' = 0
!endif

Function .onInit
    ${IfNot} ${RunningX64}
        MessageBox MB_OK|MB_ICONSTOP "Pendro braucht ein 64-Bit-Windows."
        Abort
    ${EndIf}
    SetRegView 64
    !insertmacro MULTIUSER_INIT
    ; /Desktop on the command line (for silent installs) selects the desktop shortcut.
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/Desktop" $1
    ${IfNot} ${Errors}
        SectionSetFlags 1 ${SF_SELECTED}
    ${EndIf}
FunctionEnd

Function un.onInit
    SetRegView 64
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

; A running Pendro keeps pendro.exe open, and Windows refuses to open it for writing then.
; Installing over it would leave a folder of old and new files, and removing it would leave the
; files behind without an uninstall entry, so installer and uninstaller stop before they change
; anything (silently: with exit code 2).
!macro CHECK_NOT_RUNNING PREFIX VERB TASK
Function ${PREFIX}CheckNotRunning
    IfFileExists "$INSTDIR\pendro.exe" 0 done
    retry:
    ClearErrors
    FileOpen $0 "$INSTDIR\pendro.exe" a
    IfErrors 0 closed
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Pendro läuft noch und kann deshalb nicht ${VERB} werden.$\r$\nBitte schließen Sie Pendro und klicken Sie auf „Wiederholen“." \
        /SD IDCANCEL IDRETRY retry
    DetailPrint "Pendro läuft noch: die ${TASK} wurde abgebrochen, nichts wurde geändert."
    SetErrorLevel 2
    Abort "Pendro läuft noch: die ${TASK} wurde abgebrochen, nichts wurde geändert."
    closed:
    FileClose $0
    done:
FunctionEnd
!macroend
!insertmacro CHECK_NOT_RUNNING "" "ersetzt" "Installation"
!insertmacro CHECK_NOT_RUNNING "un." "entfernt" "Deinstallation"

Section "Pendro" SecProgram
    SectionIn RO
    Call CheckNotRunning
    !include "${INSTALL_LIST}"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    CreateShortcut "$SMPROGRAMS\${APP_NAME}.lnk" "$INSTDIR\pendro.exe" "" "$INSTDIR\pendro.exe" 0
    CreateShortcut "$SMPROGRAMS\${SOURCE_LINK}.lnk" "$INSTDIR\Quelltext\QUELLTEXT.txt"

    WriteRegStr SHCTX "${SETTINGS_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\pendro.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
        '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
        '"$INSTDIR\Uninstall.exe" /S /$MultiUser.InstallMode'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section /o "Verknüpfung auf dem Desktop" SecDesktop
    CreateShortcut "$DESKTOP\${APP_NAME}.lnk" "$INSTDIR\pendro.exe" "" "$INSTDIR\pendro.exe" 0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} \
        "Pendro mit Qt, den Lizenzen und dem Quelltext; Einträge im Startmenü."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} \
        "Eine Verknüpfung zu Pendro auf dem Desktop."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
    Call un.CheckNotRunning
    Delete "$SMPROGRAMS\${APP_NAME}.lnk"
    Delete "$SMPROGRAMS\${SOURCE_LINK}.lnk"
    Delete "$DESKTOP\${APP_NAME}.lnk"
    ; Only what the installer put there: the folder's files are listed at build time.
    !include "${FILE_LIST}"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    DeleteRegKey SHCTX "${SETTINGS_KEY}"
SectionEnd
