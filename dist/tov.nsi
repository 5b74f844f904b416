; The per-user installer, made by cmake/dist.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=.. -DFILE_VERSION=.. -DCOPYRIGHT=.. -DICON=.. -DSTAGE=.. -DOUTFILE=.. tov.nsi
; No administrator rights, like the program itself; nothing outside the
; user's own folders and registry.
; tov.exe is a 64-bit program; so is its installer.
Target amd64-unicode
!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\tov"
!define SENDTO_NAME "tov 問題集に取り込む・確認する"

Name "tov ${VERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\tov"
SetCompressor /SOLID lzma
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

; What Windows shows of the installer itself (Properties → Details).
VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "tov"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "tov ${VERSION} のインストーラー"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "${COPYRIGHT}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "OriginalFilename" "tov-${VERSION}-setup.exe"

Section
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "${STAGE}\tov.exe"
    File "${STAGE}\tov.chm"
    File "${STAGE}\tovtool.exe"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; Started from the install folder, so that ヘルプ finds tov.chm.
    CreateShortCut "$SMPROGRAMS\tov.lnk" "$INSTDIR\tov.exe" "" "$INSTDIR\tov.exe" 0
    ; Files sent to tovtool are checked, or imported into a set beside them.
    CreateShortCut "$SENDTO\${SENDTO_NAME}.lnk" "$INSTDIR\tovtool.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "tov"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tov.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what was installed: question sets saved anywhere, even in the
; install folder, stay, and the folder with them.
Section "Uninstall"
    SetShellVarContext current
    Delete "$SMPROGRAMS\tov.lnk"
    Delete "$SENDTO\${SENDTO_NAME}.lnk"
    Delete "$INSTDIR\tov.exe"
    Delete "$INSTDIR\tov.chm"
    Delete "$INSTDIR\tovtool.exe"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
