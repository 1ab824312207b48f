; The setup program of one pair of Brumalis programs: the 32-bit pair
; (ARCH=x86) or the 64-bit pair (ARCH=x64). installer/package.sh builds it
; for every Windows build (installer/CMakeLists.txt):
;
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DARCH=x64 -DBIN=build/win64/bin
;            -DICON=program.ico -DCOMMON=common -DMSI_UPGRADE_CODE={...}
;            [-DSIGN_UNINSTALLER=command] -DOUTFILE=setup.exe brumalis.nsi
;
; Setup copies the pair into the folder where Windows looks for screensavers,
; the system folder of the pair's architecture, chooses Brumalis.scr as the
; current user's screensaver (remembering the one before), and registers an
; uninstaller. The uninstaller takes all of that back; the settings file stays
; unless the user ticks its box (or passes /REMOVESETTINGS with /S).
;
; 64-bit Windows redirects a 32-bit process's system folder ($SYSDIR) to
; SysWOW64, which is where a 32-bit screensaver belongs. Setup writes the real
; folder, SysWOW64, into the registry: the screensaver machinery reading it is
; 64-bit. The 64-bit setup is a 64-bit process: its $SYSDIR is System32, with
; no redirection, and it uses the 64-bit registry view.

!if "${ARCH}" == "x64"
  Target amd64-unicode
  !define BITS 64
!else if "${ARCH}" == "x86"
  Target x86-unicode
  !define BITS 32
!else
  !error "ARCH must be x86 or x64"
!endif

!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh
!include MUI2.nsh

; The programs' files and the settings folder, as the programs name them.
!searchparse /file "${COMMON}/shared_names.h" '#define BRUMALIS_HOST_FILE "' HOST_FILE '"'
!searchparse /file "${COMMON}/shared_names.h" '#define BRUMALIS_RENDERER_FILE "' RENDERER_FILE '"'
!searchparse /file "${COMMON}/shared_names.h" '#define BRUMALIS_SETTINGS_FOLDER "' SETTINGS_FOLDER_C '"'
!searchreplace SETTINGS_FOLDER "${SETTINGS_FOLDER_C}" "\\" "\"
!searchparse /file "${COMMON}/shared_names.h" '#define BRUMALIS_SETTINGS_FILE BRUMALIS_SETTINGS_FOLDER "\\' SETTINGS_FILE_NAME '"'
!define SETTINGS_FILE "${SETTINGS_FOLDER}\${SETTINGS_FILE_NAME}"

!define PRODUCT "Brumalis"
!define PUBLISHER "t-orka"
!define HOME_PAGE "https://www.example.com/brumalis/"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brumalis"
!define DESKTOP_KEY "Control Panel\Desktop"
; Under the uninstall key: the screensaver chosen before setup, when there was one.
!define PREVIOUS_VALUE "PreviousScreenSaver"

Name "${PRODUCT} ${VERSION} (${BITS}-bit)"
OutFile "${OUTFILE}"
; The uninstaller's folder; the pair itself goes to the system folder.
!if "${ARCH}" == "x64"
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES32\${PRODUCT}"
!endif
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; The files carry no time of their own: the same programs make the same setup
; program, whenever it is made (installed, they take the time of the install).
SetDateSave off
ManifestDPIAware true
ShowInstDetails show
ShowUninstDetails show
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} ${VERSION} setup (${BITS}-bit)"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "(C) ${PUBLISHER}"

; Where the pair goes (see the top of this file).
Var ScrDir

; The uninstaller is signed like the setup program when a certificate is
; given (installer/package.sh --sign): NSIS runs the command on it before it
; packs it, and stops when the command fails.
!ifdef SIGN_UNINSTALLER
  !uninstfinalize '${SIGN_UNINSTALLER}' = 0
!endif

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"
; The last page says where the settings are and starts nothing: setup runs
; with an administrator's rights, and whatever it started would run with
; them too (the screen saver settings' Preview and Settings would run the
; screensaver so, reading the file every user may write).
!define MUI_FINISHPAGE_TEXT "$(FinishText)"
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; English is the language for every Windows that is not Japanese.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString WelcomeText ${LANG_ENGLISH} "Setup copies ${HOST_FILE} and ${RENDERER_FILE} into $ScrDir and chooses Brumalis as your screen saver.$\r$\n$\r$\nThe settings live in ${SETTINGS_FILE}.$\r$\n$\r$\nClick Install to continue."
LangString WelcomeText ${LANG_JAPANESE} "${HOST_FILE} と ${RENDERER_FILE} を $ScrDir にコピーし、Brumalis をスクリーンセーバーに設定します。$\r$\n$\r$\n設定は ${SETTINGS_FILE} に保存されます。$\r$\n$\r$\n続けるには [インストール] をクリックしてください。"
LangString FinishText ${LANG_ENGLISH} "Brumalis is now your screen saver.$\r$\n$\r$\nTo change how long Windows waits, or the music, open the screen saver settings: Settings, Personalization, Lock screen, Screen saver.$\r$\n$\r$\nClick Finish to close Setup."
LangString FinishText ${LANG_JAPANESE} "Brumalis をスクリーンセーバーに設定しました。$\r$\n$\r$\n待ち時間や音楽を変えるには、スクリーンセーバーの設定を開いてください: [設定]、[個人用設定]、[ロック画面]、[スクリーンセーバー]。$\r$\n$\r$\n[完了] をクリックするとセットアップを終了します。"
LangString PackageInstalledText ${LANG_ENGLISH} "${PRODUCT} (${BITS}-bit) is already installed by its Windows Installer package (Brumalis-...-${ARCH}.msi).$\r$\n$\r$\nRemove it in Apps & features first, then run this setup program again."
LangString PackageInstalledText ${LANG_JAPANESE} "${PRODUCT} (${BITS}-bit) は Windows インストーラー パッケージ (Brumalis-...-${ARCH}.msi) でインストール済みです。$\r$\n$\r$\n[アプリと機能] で削除してから、このセットアップをもう一度実行してください。"
LangString RemoveSettingsText ${LANG_ENGLISH} "Remove my settings (${SETTINGS_FILE})"
LangString RemoveSettingsText ${LANG_JAPANESE} "設定ファイルも削除する (${SETTINGS_FILE})"

; Sets $ScrDir, and the registry view of the pair's architecture.
!macro FIND_FOLDERS UN
  Function ${UN}FindFolders
    !if "${ARCH}" == "x64"
      SetRegView 64
      StrCpy $ScrDir $SYSDIR
    !else
      SetRegView 32
      ${If} ${RunningX64}
        StrCpy $ScrDir "$WINDIR\SysWOW64"
      ${Else}
        StrCpy $ScrDir $SYSDIR
      ${EndIf}
    !endif
  FunctionEnd
!macroend
!insertmacro FIND_FOLDERS ""
!insertmacro FIND_FOLDERS "un."

Function .onInit
  Call FindFolders
  Call RefuseOverPackage
FunctionEnd

; The Windows Installer package of the same pair keeps an entry of its own in
; Apps & features: setup must not install beside it, or each entry would
; remove the other's files. The package is found by its upgrade code, which
; every version of it keeps. Silent, setup says nothing and ends with 3.
Function RefuseOverPackage
  System::Call 'msi::MsiEnumRelatedProductsW(w "${MSI_UPGRADE_CODE}", i 0, i 0, w .r1) i .r0'
  ${If} $0 == 0
    MessageBox MB_OK|MB_ICONSTOP "$(PackageInstalledText)" /SD IDOK
    SetErrorLevel 3
    Quit
  ${EndIf}
FunctionEnd

Section "-Brumalis" SecProgram
  SetOutPath $ScrDir
  File "${BIN}/${HOST_FILE}"
  File "${BIN}/${RENDERER_FILE}"
  SetOutPath $INSTDIR
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; Remember the screensaver the user had, unless it is this one already
  ; (setup run again): then what was remembered the first time stays.
  ClearErrors
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} ${Errors}
    DeleteRegValue HKLM "${UNINSTALL_KEY}" "${PREVIOUS_VALUE}"
  ${ElseIf} $0 != "$ScrDir\${HOST_FILE}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "${PREVIOUS_VALUE}" $0
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$ScrDir\${HOST_FILE}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} (${BITS}-bit)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$ScrDir\${HOST_FILE},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" $ScrDir
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${HOME_PAGE}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Runs before the program's part, whose last step removes the uninstaller's
; folder: the end of that folder is the end of the uninstall.
;
; Every user may change what the settings folder holds, so by now the folder
; may be a junction, or the file a link, to anything: deleting through it
; would delete that, with an administrator's rights. So what is deleted is
; what was checked, held from the check to the delete:
;  1. the folder itself (no link followed), held without delete sharing, so
;     that nobody can rename or remove it meanwhile;
;  2. the file itself (no link followed), opened for deleting and held
;     without delete sharing, so that its name cannot go to another file;
;  3. only then both are looked at: neither is a reparse point (their
;     handles, and their names, which is where Wine shows a host's symbolic
;     link), the file has one name, and it lies in the folder held (the
;     system's final paths of both handles: a folder turned into a link
;     between 1 and 2 would have led the open elsewhere);
;  4. the file goes through its handle, not by its name.
; Removing the folder afterwards is safe whatever it has become: a link is
; removed as itself.
Section /o "un.$(RemoveSettingsText)" SecSettings
  ; GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
  ; FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT
  System::Call 'kernel32::CreateFileW(w "${SETTINGS_FOLDER}", i 0x80000000, i 3, p 0, i 3, i 0x02200000, p 0) p .r0'
  ${If} $0 P<> -1
    ; DELETE | FILE_READ_ATTRIBUTES, the same sharing, OPEN_EXISTING,
    ; FILE_FLAG_OPEN_REPARSE_POINT
    System::Call 'kernel32::CreateFileW(w "${SETTINGS_FILE}", i 0x10080, i 3, p 0, i 3, i 0x00200000, p 0) p .r1'
    ${If} $1 P<> -1
      ; BY_HANDLE_FILE_INFORMATION: the attributes first, the names after
      ; nine more fields (times, volume, size).
      System::Alloc 52
      Pop $2
      System::Call 'kernel32::GetFileInformationByHandle(p r0, p r2) i .r3'
      System::Call '*$2(i .r4)'
      System::Call 'kernel32::GetFileInformationByHandle(p r1, p r2) i .r5'
      System::Call '*$2(i .r6, i, i, i, i, i, i, i, i, i, i .r7)'
      System::Free $2
      System::Call 'kernel32::GetFileAttributesW(w "${SETTINGS_FOLDER}") i .r8'
      System::Call 'kernel32::GetFileAttributesW(w "${SETTINGS_FILE}") i .r9'
      System::Call 'kernel32::GetFinalPathNameByHandleW(p r0, w .R0, i ${NSIS_MAX_STRLEN}, i 0) i .r2'
      System::Call 'kernel32::GetFinalPathNameByHandleW(p r1, w .R1, i ${NSIS_MAX_STRLEN}, i 0) i .r2'
      ${If} $3 <> 0
      ${AndIf} $5 <> 0
      ${AndIf} $8 <> -1
      ${AndIf} $9 <> -1
      ${AndIf} $7 = 1
      ${AndIf} $R0 != ""
      ${AndIf} $R1 == "$R0\${SETTINGS_FILE_NAME}"
        IntOp $4 $4 | $6
        IntOp $4 $4 | $8
        IntOp $4 $4 | $9
        IntOp $4 $4 & 0x400  ; FILE_ATTRIBUTE_REPARSE_POINT
        ${If} $4 = 0
          ; FILE_DISPOSITION_INFO { DeleteFile = TRUE }, FileDispositionInfo
          System::Call '*(&i1 1) p .r2'
          System::Call 'kernel32::SetFileInformationByHandle(p r1, i 4, p r2, i 1) i .r3'
          System::Free $2
        ${EndIf}
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p r1)'
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r0)'
  ${EndIf}
  RMDir "${SETTINGS_FOLDER}"
SectionEnd

Section "-un.Brumalis"
  Delete /REBOOTOK "$ScrDir\${HOST_FILE}"
  Delete /REBOOTOK "$ScrDir\${RENDERER_FILE}"

  ; Give back the screensaver the user had, if this one is still chosen.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == "$ScrDir\${HOST_FILE}"
    ClearErrors
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "${PREVIOUS_VALUE}"
    ${If} ${Errors}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${Else}
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $1
    ${EndIf}
  ${EndIf}

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd

Function un.onInit
  Call un.FindFolders
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecSettings} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
