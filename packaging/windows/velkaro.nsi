; The installer of Velkaro 2005 for 64-bit Windows, made by make-packages.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=... -DFILES_NSH=... velkaro.nsi
; Installs for the current user (no administrator needed) or for all users,
; puts "Velkaro 2005" into the Start menu and registers an uninstaller that
; removes exactly the files it installed (FILES_NSH and UNFILES_NSH name
; each, velkaro-autostart.exe and velkaro-image.exe among them). On request
; (off by default) it puts the program folder on the PATH, for those two
; command-line programs; the uninstaller takes it off again.
; Silent:  setup.exe /S [/CurrentUser | /AllUsers] [/PATH] [/D=folder]

Unicode true
!ifdef SIGN
    ; packaging/sign.sh: the uninstaller before it is embedded, the installer
    ; when it is written; a failure stops makensis.
    !uninstfinalize `${SIGN} "%1"` = 0
    !finalize `${SIGN} "%1"` = 0
!endif
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define PRODUCT "Velkaro 2005"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1031 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1031 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "FileDescription" "Installation von ${PRODUCT}"
VIAddVersionKey /LANG=1031 "CompanyName" "${MAKER}"
VIAddVersionKey /LANG=1031 "LegalCopyright" "© ${MAKER}, GPL-3.0-or-later"

; Per user or for all users; a later run finds the earlier mode and folder.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "UninstallString"
!define MULTIUSER_INIT_TEXT_ADMINREQUIRED "Für ${PRODUCT} sind Administratorrechte nötig."
!define MULTIUSER_INIT_TEXT_POWERREQUIRED "Für ${PRODUCT} sind mindestens Hauptbenutzerrechte nötig."
!define MULTIUSER_INIT_TEXT_ALLUSERSNOTPOSSIBLE "Ihr Benutzerkonto hat nicht die Rechte, ${PRODUCT} für alle Benutzer dieses Computers zu installieren."
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include StrFunc.nsh
!include WinMessages.nsh
${Using:StrFunc} StrStr
${Using:StrFunc} UnStrRep

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\velkaro.exe"
!define MUI_FINISHPAGE_RUN_TEXT "${PRODUCT} jetzt starten"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "${PRODUCT}" SecProgram
    SectionIn RO
    !include "${FILES_NSH}"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\velkaro.exe" "" "$INSTDIR\velkaro.exe" 0

    ; "Apps & Features" lists the program and knows how to remove it.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "${HOMEPAGE}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velkaro.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "VersionMajor" ${VERSION_MAJOR}
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "VersionMinor" ${VERSION_MINOR}
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The PATH of the user, or of all users, as the install mode says.
Var EnvKey
!macro SelectEnvKey
    ${If} $MultiUser.InstallMode == "AllUsers"
        StrCpy $EnvKey "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"
    ${Else}
        StrCpy $EnvKey "Environment"
    ${EndIf}
!macroend

; Reads the PATH into $0. A value longer than this installer can hold would
; come back cut off, and writing it back would lose the rest: then $0 is
; "-" and nothing may be changed.
!macro ReadPath
    !insertmacro SelectEnvKey
    ClearErrors
    ReadRegStr $0 SHCTX $EnvKey "Path"
    ${If} ${Errors}
        ; Absent, or unreadable because too long.
        StrCpy $0 ""
        StrCpy $1 0
        ${Do}
            EnumRegValue $2 SHCTX $EnvKey $1
            ${If} $2 == ""
                ${Break}
            ${EndIf}
            ${If} $2 == "Path"
                StrCpy $0 "-"
                ${Break}
            ${EndIf}
            IntOp $1 $1 + 1
        ${Loop}
    ${Else}
        ; A value cut off to fit fills the whole buffer.
        StrLen $1 $0
        IntOp $2 ${NSIS_MAX_STRLEN} - 1
        ${If} $1 >= $2
            StrCpy $0 "-"
        ${EndIf}
    ${EndIf}
!macroend

Section /o "Programmordner in den Suchpfad (PATH) aufnehmen, für velkaro-autostart und velkaro-image" SecPath
    !insertmacro ReadPath
    ${If} $0 == "-"
        DetailPrint "Der Suchpfad ist zu lang; der Programmordner wurde nicht aufgenommen."
        Return
    ${EndIf}
    ${StrStr} $1 ";$0;" ";$INSTDIR;"
    ${If} $1 != ""
        Return ; there already, and stays there after the uninstall
    ${EndIf}
    ${If} $0 == ""
        StrCpy $1 "$INSTDIR"
    ${Else}
        StrCpy $1 "$0;$INSTDIR"
    ${EndIf}
    StrLen $2 $1
    ${If} $2 >= ${NSIS_MAX_STRLEN}
        DetailPrint "Der Suchpfad ist zu lang; der Programmordner wurde nicht aufgenommen."
        Return
    ${EndIf}
    WriteRegExpandStr SHCTX $EnvKey "Path" $1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "PathAdded" 1
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
SectionEnd

Function .onInit
    !insertmacro MULTIUSER_INIT
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/PATH" $R1
    ${IfNot} ${Errors}
        SectionGetFlags ${SecPath} $R2
        IntOp $R2 $R2 | ${SF_SELECTED}
        SectionSetFlags ${SecPath} $R2
    ${EndIf}
FunctionEnd

Section "Uninstall"
    ; Only what the installer put there: files the user added to the folder
    ; stay, and then so does the folder.
    !include "${UNFILES_NSH}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    ReadRegDWORD $3 SHCTX "${UNINSTALL_KEY}" "PathAdded"
    ${If} $3 == 1
        !insertmacro ReadPath
        ${If} $0 != "-"
        ${AndIf} $0 != ""
            ; ";" around both, so that only the whole entry goes.
            ${UnStrRep} $1 ";$0;" ";$INSTDIR;" ";"
            StrCpy $1 $1 "" 1
            StrCpy $1 $1 -1
            ${If} $1 == ""
                DeleteRegValue SHCTX $EnvKey "Path"
            ${Else}
                WriteRegExpandStr SHCTX $EnvKey "Path" $1
            ${EndIf}
            SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
        ${EndIf}
    ${EndIf}
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
