; The TALVERO installer, made by scripts/package.sh once for each build:
;   makensis -DARCH=x86|x64 -DVERSION=1.2.3.4 -DFILES=<folder of talvero.exe and the manual>
;            -DICON=<talvero.ico> -DOUTFILE=<setup.exe> talvero.nsi
;
; The program goes into Program Files for every user (so Setup asks for an
; administrator); the Start-menu shortcut, the optional start at log-on and the
; settings folder belong to the user who runs Setup. TALVERO keeps config.txt and
; rules.txt in the folder it starts in, which a standard user cannot write in
; Program Files: both shortcuts start it in %APPDATA%\TALVERO instead.
;
; Command line: /S silent, /D=<folder> (last, unquoted) the folder, /LOGON ticks
; "Start TALVERO when I log on". Otherwise that option keeps what an earlier
; install chose. The uninstaller's /S keeps the settings folder.

Unicode true
!if ${ARCH} == x64
  ; A 64-bit Setup: 32-bit Windows refuses to start it and says why, and it runs
  ; where no 32-bit program can.
  Target amd64-unicode
  !define PROGRAM_FILES "$PROGRAMFILES64"
!else
  Target x86-unicode
  !define PROGRAM_FILES "$PROGRAMFILES"
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define PUBLISHER "the TALVERO developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TALVERO"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "TALVERO"
!define SETTINGS_FOLDER "$APPDATA\TALVERO"
!define MENU_SHORTCUT "$SMPROGRAMS\TALVERO.lnk"
; The Run entry names this shortcut rather than talvero.exe: programs started
; from Run begin in the system folder, where TALVERO's settings do not belong.
!define LOGON_SHORTCUT "${SETTINGS_FOLDER}\TALVERO at log-on.lnk"
; TALVERO's main window: class and title "TALVERO", one per user session.
!define MAIN_WINDOW_CLASS "TALVERO"
!define MAIN_WINDOW_TITLE "TALVERO"
!define CLOSE_DEADLINE_MS 15000
!define POLL_MS 100
!define SYNCHRONIZE 0x00100000
!define WAIT_OBJECT_0 0
!define ERROR_ACCESS_DENIED 5

Name "TALVERO"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\TALVERO"
; An upgrade goes where the installed version is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "TALVERO ${VERSION}"

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "TALVERO"
VIAddVersionKey "FileDescription" "TALVERO ${VERSION} Setup (${ARCH})"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Program Files and the uninstall key belong to every user: on Windows XP, which
; asks nobody, a limited user is told so instead of failing half way.
!macro REFUSE_WITHOUT_ADMINISTRATOR
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
        MessageBox MB_OK|MB_ICONSTOP "Only an administrator can install or remove TALVERO." /SD IDOK
        SetErrorLevel ${ERROR_ACCESS_DENIED}
        Quit
    ${EndIf}
!macroend

; Closes a running TALVERO through its main window, as File > Exit would, and
; waits for its process to end; never ends it any other way. Asks first unless silent.
!macro CLOSE_RUNNING_TALVERO UN
Function ${UN}closeRunningTalvero
    FindWindow $0 "${MAIN_WINDOW_CLASS}" "${MAIN_WINDOW_TITLE}"
    ${If} $0 == 0
        Return
    ${EndIf}
    MessageBox MB_OKCANCEL|MB_ICONINFORMATION "TALVERO is running. Choose OK to close it and go on." /SD IDOK IDOK close
    Abort
close:
    System::Call "user32::GetWindowThreadProcessId(p r0, *i 0 r1) i"
    System::Call "kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2"
    System::Call "user32::PostMessage(p r0, i ${WM_CLOSE}, p 0, p 0) i"
    StrCpy $3 0
    ${If} $2 != 0
        System::Call "kernel32::WaitForSingleObject(p r2, i ${CLOSE_DEADLINE_MS}) i .r4"
        System::Call "kernel32::CloseHandle(p r2) i"
        ${If} $4 == ${WAIT_OBJECT_0}
            Return
        ${EndIf}
    ${Else}
        ; No handle to wait on: watch the window instead.
        ${Do}
            Sleep ${POLL_MS}
            IntOp $3 $3 + ${POLL_MS}
            FindWindow $0 "${MAIN_WINDOW_CLASS}" "${MAIN_WINDOW_TITLE}"
            ${If} $0 == 0
                Return
            ${EndIf}
        ${LoopUntil} $3 >= ${CLOSE_DEADLINE_MS}
    ${EndIf}
    MessageBox MB_OK|MB_ICONSTOP "TALVERO did not close. Close it, then start again." /SD IDOK
    Abort
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_TALVERO ""
!insertmacro CLOSE_RUNNING_TALVERO "un."

Section "TALVERO" sectionProgram
    SectionIn RO
    Call closeRunningTalvero
    SetOutPath "$INSTDIR"
    File "${FILES}\talvero.exe"
    File "${FILES}\talvero-manual.html"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    SetShellVarContext current
    ; The shortcut's "Start in" is the folder SetOutPath made.
    SetOutPath "${SETTINGS_FOLDER}"
    CreateShortcut "${MENU_SHORTCUT}" "$INSTDIR\talvero.exe" "" "$INSTDIR\talvero.exe" 0
    ; The log-on option below writes these again when it is ticked.
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    Delete "${LOGON_SHORTCUT}"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "TALVERO"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\talvero.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Start TALVERO when I log on" sectionLogOn
    SetShellVarContext current
    SetOutPath "${SETTINGS_FOLDER}"
    CreateShortcut "${LOGON_SHORTCUT}" "$INSTDIR\talvero.exe" "/tray" "$INSTDIR\talvero.exe" 0
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"${LOGON_SHORTCUT}"'
SectionEnd

Function .onInit
    !insertmacro REFUSE_WITHOUT_ADMINISTRATOR
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/LOGON" $2
    ${If} $0 != ""
    ${OrIfNot} ${Errors}
        !insertmacro SelectSection ${sectionLogOn}
    ${EndIf}
FunctionEnd

Function un.onInit
    !insertmacro REFUSE_WITHOUT_ADMINISTRATOR
FunctionEnd

Section "un.TALVERO"
    SectionIn RO
    Call un.closeRunningTalvero
    Delete "$INSTDIR\talvero.exe"
    Delete "$INSTDIR\talvero-manual.html"
    Delete "$INSTDIR\uninstall.exe"
    ; Only our own files: the folder may have been chosen with /D= and hold others.
    RMDir "$INSTDIR"
    SetShellVarContext current
    Delete "${MENU_SHORTCUT}"
    Delete "${LOGON_SHORTCUT}"
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Remove my settings"
    SetShellVarContext current
    RMDir /r "${SETTINGS_FOLDER}"
SectionEnd
