; Archivon for one Windows user: the program, the Gleanix browser helper,
; the start-up picture and the help page. The default vault, the job list
; and the downloads live beside the program, so it goes into a folder the
; user can write, without administrator rights, and Gleanix is registered
; for this user only. /D=<folder> (last on the command line) chooses
; another folder; /S runs without questions.
;
; Built by the build (installer/targets.cmake) with
;   makensis -DSTAGE=<stripped binaries> -DBESIDE=<build folder> -DOUTFILE=<setup.exe>

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include LogicLib.nsh

!define CONFIG_KEY "Software\Tallowind\Archivon\Config"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Archivon"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The main window's class: while one exists, Archivon runs.
!define MAIN_WINDOW_CLASS "ArchivonMainFrame"

Name "Archivon 1.10"
Caption "Archivon 1.10 Setup"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Archivon"
ShowInstDetails show
ShowUninstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!macro RefuseWhileRunning
  FindWindow $0 "${MAIN_WINDOW_CLASS}"
  ${If} $0 <> 0
    MessageBox MB_OK|MB_ICONSTOP "Archivon is running. Close it and try again." /SD IDOK
    SetErrorLevel 3
    Quit
  ${EndIf}
!macroend

Function .onInit
  !insertmacro RefuseWhileRunning
FunctionEnd

Section "Archivon"
  SetOutPath "$INSTDIR"
  File "${STAGE}/Archivon.exe"
  File "${STAGE}/Gleanix.dll"
  File "${BESIDE}/splash.bmp"
  File "${BESIDE}/Archivon.htm"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; Gleanix for this user: HKEY_CURRENT_USER\Software\Classes.
  ExecWait '"$SYSDIR\regsvr32.exe" /s /n /i:user "$INSTDIR\Gleanix.dll"' $0
  ${If} $0 <> 0
    DetailPrint "Gleanix could not be registered (regsvr32 ended with $0)."
    MessageBox MB_OK|MB_ICONEXCLAMATION "Gleanix could not be registered; browser scripts cannot reach Archivon." /SD IDOK
    SetErrorLevel 2
  ${EndIf}
  ; Where Gleanix finds the program when it is not running.
  WriteRegStr HKCU "${CONFIG_KEY}" "path4gleanix" "$INSTDIR\Archivon.exe"

  CreateShortCut "$SMPROGRAMS\Archivon.lnk" "$INSTDIR\Archivon.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Archivon"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "1.10"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Tallowind"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Archivon.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
  !insertmacro RefuseWhileRunning
FunctionEnd

; Deletes the value `name` of `key` under `root` when it starts this
; installation's program (quoted or not).
!macro un.DeleteValueNamingProgram root key name
  ReadRegStr $0 ${root} "${key}" "${name}"
  ${If} $0 == "$INSTDIR\Archivon.exe"
  ${OrIf} $0 == '"$INSTDIR\Archivon.exe"'
    DeleteRegValue ${root} "${key}" "${name}"
  ${EndIf}
!macroend

Section "Uninstall"
  ExecWait '"$SYSDIR\regsvr32.exe" /s /u /n /i:user "$INSTDIR\Gleanix.dll"'

  ; Only what was installed goes. The vault (Root), the job list
  ; (Archivon.job), unfinished downloads, Gleanix.ini and the picked text
  ; stay, and with them the folder.
  Delete "$INSTDIR\Archivon.exe"
  Delete /REBOOTOK "$INSTDIR\Gleanix.dll"
  Delete "$INSTDIR\splash.bmp"
  Delete "$INSTDIR\Archivon.htm"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Archivon.lnk"

  !insertmacro un.DeleteValueNamingProgram HKCU "${CONFIG_KEY}" "path4gleanix"
  !insertmacro un.DeleteValueNamingProgram HKCU "${RUN_KEY}" "Archivon"
  ; Written there by the General settings page; without administrator
  ; rights this deletion simply does not happen.
  !insertmacro un.DeleteValueNamingProgram HKLM "${RUN_KEY}" "Archivon"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
