; The setup program: installs quillmere.scr for the current user only and, unless declined, makes it
; the screen saver, giving the previous one back at uninstall. /KEEPSAVER declines in a silent install.
; package.py runs it with the release's facts: makensis -DVERSION=<version> -DPRODUCT_CODE=<uninstall
; key's name> -DDISPLAY_NAME=<name> -DPUBLISHER=<publisher> -DCOPYRIGHT=<line> -DSTAGE=<scr and
; read-mes> -DICON=<.ico> -DOUTFILE=<exe>
Unicode true
; The 64-bit stub runs on every Windows the saver does, and under a 64-bit-only Wine.
Target amd64-unicode
; No elevation: an administrator, too, installs for the account that runs the setup.
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT_CODE}"
!define DESKTOP_KEY "Control Panel\Desktop"
; Group Policy's copy, which Windows obeys before the user's own choice.
!define POLICY_KEY "Software\Policies\Microsoft\Windows\Control Panel\Desktop"
!define SPI_GETSCREENSAVEACTIVE 16
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATEINIFILE_SENDCHANGE 3
; Both languages' names, so that uninstall and a setup in the other language leave no stale entry.
!define USE_LINK_EN "Use quillmere as screen saver"
!define USE_LINK_JA "quillmere をスクリーン セーバーにする"
!define SETTINGS_LINK_EN "quillmere settings"
!define SETTINGS_LINK_JA "quillmere の設定"

Name "${DISPLAY_NAME}"
Caption "quillmere ${VERSION}"
BrandingText "quillmere ${VERSION}"
OutFile "${OUTFILE}"
; Writable by the user, so the settings dialog can save quillmere.ini beside the executable.
InstallDir "$LOCALAPPDATA\Programs\quillmere"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${DISPLAY_NAME}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "quillmere setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${COPYRIGHT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
; The choice is kept in the registration, so the uninstaller speaks the same language and leaves nothing.
!define MUI_LANGDLL_REGISTRY_ROOT HKCU
!define MUI_LANGDLL_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "Language"
; Offer both languages whatever the system's code page; the system's own language comes preselected.
!define MUI_LANGDLL_ALLLANGUAGES
!define MUI_LANGDLL_WINDOWTITLE "quillmere"
!define MUI_LANGDLL_INFO "Please select a language.$\r$\n言語を選んでください。"

!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_HEADER_TEXT "$(ChoiceHeader)"
!define MUI_PAGE_HEADER_SUBTEXT "$(ChoiceSubheader)"
!define MUI_COMPONENTSPAGE_NODESC
; The choice's text, or why a policy leaves no choice; 1 where a policy decides the saver.
Var ChoiceIntro
Var PolicyDecides
!define MUI_COMPONENTSPAGE_TEXT_TOP "$ChoiceIntro"
!define MUI_COMPONENTSPAGE_TEXT_COMPLIST " "
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
; The first paragraph depends on the choice; the second names the Start-menu entries.
Var FinishIntro
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_TEXT "$FinishIntro$\r$\n$\r$\n$(FinishLinksText)"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(OpenSettingsText)"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; English first: it is the language for a system whose language is neither.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_RESERVEFILE_LANGDLL

LangString WelcomeText ${LANG_ENGLISH} "This installs quillmere ${VERSION}, a screen saver, for you alone: into your own folder $INSTDIR, without administrator rights. On the next page you choose whether it becomes your screen saver.$\r$\n$\r$\nIf you have quillmere installed already, it is replaced and your settings are kept.$\r$\n$\r$\n$_CLICK"
LangString WelcomeText ${LANG_JAPANESE} "スクリーンセーバー quillmere ${VERSION} を、このユーザーだけのためにインストールします。インストール先は自分のフォルダー $INSTDIR で、管理者の権限は要りません。quillmere をスクリーンセーバーにするかどうかは次のページで選べます。$\r$\n$\r$\nquillmere がインストール済みの場合は置き換え、設定はそのまま残します。$\r$\n$\r$\n$_CLICK"
LangString ChoiceHeader ${LANG_ENGLISH} "Your screen saver"
LangString ChoiceHeader ${LANG_JAPANESE} "スクリーンセーバー"
LangString ChoiceSubheader ${LANG_ENGLISH} "Choose whether quillmere becomes your screen saver."
LangString ChoiceSubheader ${LANG_JAPANESE} "quillmere をスクリーンセーバーにするかどうかを選んでください。"
LangString ChoiceText ${LANG_ENGLISH} "Checked, quillmere becomes your screen saver, and uninstalling it gives back the one you have now. Unchecked, setup installs the program, its read-mes and its Start-menu entries only."
LangString ChoiceText ${LANG_JAPANESE} "チェックすると quillmere をスクリーンセーバーにし、アンインストールすると今のスクリーンセーバーに戻します。チェックを外すと、プログラム、説明書、スタート メニューの項目だけをインストールします。"
LangString MakeSaverText ${LANG_ENGLISH} "Make quillmere my screen saver"
LangString MakeSaverText ${LANG_JAPANESE} "quillmere をスクリーン セーバーにする"
LangString ChosenText ${LANG_ENGLISH} "quillmere is now your screen saver; uninstalling it gives your previous one back."
LangString ChosenText ${LANG_JAPANESE} "quillmere がスクリーンセーバーになりました。アンインストールすると元に戻ります。"
LangString KeptText ${LANG_ENGLISH} "quillmere is installed; your screen saver stays as it was."
LangString KeptText ${LANG_JAPANESE} "quillmere をインストールしました。スクリーンセーバーは今までのままです。"
LangString PolicyChoiceText ${LANG_ENGLISH} "Your organisation's policy decides your screen saver, so setup leaves it as it is: it installs the program, its read-mes and its Start-menu entries only."
LangString PolicyChoiceText ${LANG_JAPANESE} "スクリーンセーバーは組織のポリシーで決められているため、変更しません。プログラム、説明書、スタート メニューの項目だけをインストールします。"
LangString PolicyText ${LANG_ENGLISH} "quillmere is installed; your organisation's policy decides your screen saver, so it stays as it was."
LangString PolicyText ${LANG_JAPANESE} "quillmere をインストールしました。スクリーンセーバーは組織のポリシーで決められているため、今までのままです。"
LangString FinishLinksText ${LANG_ENGLISH} "In the Start menu, quillmere > $\"${USE_LINK_EN}$\" selects it and opens the Screen Saver Settings, and quillmere > $\"${SETTINGS_LINK_EN}$\" opens its settings."
LangString FinishLinksText ${LANG_JAPANESE} "スタート メニューの「quillmere」の「${USE_LINK_JA}」で選び直し、「${SETTINGS_LINK_JA}」で設定を開けます。"
LangString OpenSettingsText ${LANG_ENGLISH} "Open the Screen Saver Settings"
LangString OpenSettingsText ${LANG_JAPANESE} "スクリーン セーバーの設定を開く"
LangString SaverRunningText ${LANG_ENGLISH} "The quillmere screen saver is running. End it, then press Retry."
LangString SaverRunningText ${LANG_JAPANESE} "quillmere のスクリーンセーバーが動いています。終了させてから［再試行］を押してください。"
LangString DialogOpenText ${LANG_ENGLISH} "The quillmere settings dialog is open. Close it, then press Retry."
LangString DialogOpenText ${LANG_JAPANESE} "quillmere の設定ダイアログが開いています。閉じてから［再試行］を押してください。"
LangString InUseText ${LANG_ENGLISH} "quillmere is in use, perhaps by the preview in the Screen Saver Settings. Close that, then press Retry."
LangString InUseText ${LANG_JAPANESE} "quillmere が使用中です。スクリーン セーバーの設定のプレビューかもしれません。閉じてから［再試行］を押してください。"
LangString UseLinkName ${LANG_ENGLISH} "${USE_LINK_EN}"
LangString UseLinkName ${LANG_JAPANESE} "${USE_LINK_JA}"
LangString SettingsLinkName ${LANG_ENGLISH} "${SETTINGS_LINK_EN}"
LangString SettingsLinkName ${LANG_JAPANESE} "${SETTINGS_LINK_JA}"
LangString KeepSettingsText ${LANG_ENGLISH} "Keep your quillmere settings (quillmere.ini) for a later install?"
LangString KeepSettingsText ${LANG_JAPANESE} "quillmere の設定 (quillmere.ini) を、あとで再びインストールするときのために残しますか?"

; Stops before anything is replaced or removed while the saver or its dialog holds the files.
!macro REFUSE_WHILE_RUNNING prefix
; $0 becomes 1 when the file $3 exists and cannot be opened for writing.
Function ${prefix}RefuseWhileOpen
  ${If} ${FileExists} "$3"
    ClearErrors
    FileOpen $2 "$3" a
    ${If} ${Errors}
      StrCpy $0 1
      StrCpy $1 "$(InUseText)"
    ${Else}
      FileClose $2
    ${EndIf}
  ${EndIf}
FunctionEnd

Function ${prefix}RefuseWhileRunning
  retry:
  FindWindow $0 "" "quillmere_Main"
  StrCpy $1 "$(SaverRunningText)"
  ${If} $0 == 0
    FindWindow $0 "" "quillmereの設定"
    StrCpy $1 "$(DialogOpenText)"
  ${EndIf}
  ; A preview in the Screen Saver Settings runs the file without a window of these titles.
  ${If} $0 == 0
    StrCpy $3 "$INSTDIR\quillmere.scr"
    Call ${prefix}RefuseWhileOpen
  ${EndIf}
  ${If} $0 == 0
    StrCpy $3 "$INSTDIR\quillmere.exe"
    Call ${prefix}RefuseWhileOpen
  ${EndIf}
  ${If} $0 <> 0
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$1" /SD IDCANCEL IDRETRY retry
    DetailPrint "$1"
    Abort
  ${EndIf}
FunctionEnd
!macroend
!insertmacro REFUSE_WHILE_RUNNING ""
!insertmacro REFUSE_WHILE_RUNNING "un."

!macro DELETE_LINKS
  Delete "$SMPROGRAMS\quillmere\${USE_LINK_EN}.lnk"
  Delete "$SMPROGRAMS\quillmere\${USE_LINK_JA}.lnk"
  Delete "$SMPROGRAMS\quillmere\${SETTINGS_LINK_EN}.lnk"
  Delete "$SMPROGRAMS\quillmere\${SETTINGS_LINK_JA}.lnk"
!macroend

; Whether the chosen screen saver is the installed quillmere.scr, compared by short path as hosts
; write it: $R0 is 1 or 0, $R1 the chosen one, $R2 the installed file's short path.
!macro CHOSEN_IS_OURS
  GetFullPathName /SHORT $R2 "$INSTDIR\quillmere.scr"
  ${If} $R2 == ""
    StrCpy $R2 "$INSTDIR\quillmere.scr"
  ${EndIf}
  ReadRegStr $R1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $R3 "$R1"
  ${If} $R3 == ""
    StrCpy $R3 "$R1"
  ${EndIf}
  StrCpy $R0 0
  ${If} $R1 != ""
  ${AndIf} $R3 == $R2
    StrCpy $R0 1
  ${EndIf}
!macroend

Function OpenScreenSaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

Section "-quillmere"
  Call RefuseWhileRunning
  SetOutPath "$INSTDIR"
  ; quillmere.ini is never among these files, so an upgrade keeps it as it is.
  File "${STAGE}/quillmere.scr"
  ; The shell opens a .scr with "/S" whatever a shortcut passes; an .exe takes the shortcut's "/c".
  File "/oname=quillmere.exe" "${STAGE}/quillmere.scr"
  File "${STAGE}/README-ja.txt"
  File "${STAGE}/README-en.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; Only a new file: an upgrade keeps the user's as it is.
  ${IfNot} ${FileExists} "$INSTDIR\quillmere.ini"
    WriteINIStr "$INSTDIR\quillmere.ini" "Section" "FrameRate" "${FRAME_RATE}"
  ${EndIf}
  StrCpy $FinishIntro "$(KeptText)"
  ${If} $PolicyDecides == 1
    StrCpy $FinishIntro "$(PolicyText)"
  ${EndIf}

  ; The Screen Saver Settings forget a saver outside the Windows folders once another is tried.
  !insertmacro DELETE_LINKS
  CreateDirectory "$SMPROGRAMS\quillmere"
  ; The .scr Install verb's own command, the path unquoted as it passes it: selects, then opens the settings.
  CreateShortcut "$SMPROGRAMS\quillmere\$(UseLinkName).lnk" "$SYSDIR\rundll32.exe" \
    "desk.cpl,InstallScreenSaver $INSTDIR\quillmere.scr" "$INSTDIR\quillmere.scr" 0
  CreateShortcut "$SMPROGRAMS\quillmere\$(SettingsLinkName).lnk" "$INSTDIR\quillmere.exe" "/c"

  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${DISPLAY_NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillmere.scr,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "$(MakeSaverText)" MakeSaver
  !insertmacro CHOSEN_IS_OURS
  ; What uninstall gives back: the saver and screen saving this install takes over; while quillmere
  ; is the saver already, the record of the install that took them stays.
  ${If} $R0 == 0
    WriteRegStr HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver" "$R1"
    ; The value the Screen Saver Settings write; the system's answer only where there is none.
    ReadRegStr $1 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${If} $1 == ""
      System::Call "user32::SystemParametersInfoW(i ${SPI_GETSCREENSAVEACTIVE}, i 0, *i .r1, i 0)"
    ${EndIf}
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive" $1
  ${EndIf}
  ; As the system's own Install command does: the short path, which every screen-saver host reads.
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$R2"
  ; As the Screen Saver Settings do: once the user chose "(None)", the system ignores SCRNSAVE.EXE.
  System::Call "user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATEINIFILE_SENDCHANGE})"
  StrCpy $FinishIntro "$(ChosenText)"
SectionEnd

Function .onInit
  SetShellVarContext current
  !insertmacro MUI_LANGDLL_DISPLAY
  StrCpy $ChoiceIntro "$(ChoiceText)"
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/KEEPSAVER" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${MakeSaver}
  ${EndIf}
  ; An upgrade leaves another saver, or "(None)", that the user chose since: offered, not taken.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  !insertmacro CHOSEN_IS_OURS
  ${If} $0 != ""
  ${AndIf} $R0 == 0
    !insertmacro UnselectSection ${MakeSaver}
  ${EndIf}
  ; A saver or "off" set by policy is in force whatever the user's choice says: nothing to change.
  ReadRegStr $0 HKCU "${POLICY_KEY}" "SCRNSAVE.EXE"
  ReadRegStr $1 HKCU "${POLICY_KEY}" "ScreenSaveActive"
  StrCpy $PolicyDecides 0
  ${If} $0 != ""
  ${OrIf} $1 == "0"
    StrCpy $PolicyDecides 1
    StrCpy $ChoiceIntro "$(PolicyChoiceText)"
    !insertmacro UnselectSection ${MakeSaver}
    !insertmacro SetSectionFlag ${MakeSaver} ${SF_RO}
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext current
  !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

Section "Uninstall"
  Call un.RefuseWhileRunning

  ; Compared while the file still exists: its short path can only be had then. Another saver the
  ; user has chosen since stays chosen, and screen saving stays as they set it.
  !insertmacro CHOSEN_IS_OURS
  ${If} $R0 == 1
    ClearErrors
    ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
    ${If} ${Errors}
      StrCpy $0 ""
    ${EndIf}
    ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver"
    ${If} $1 != ""
    ${AndIf} ${FileExists} "$1"
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$1"
    ${Else}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${EndIf}
    ${If} $0 != ""
      System::Call "user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i r0, p 0, i ${SPIF_UPDATEINIFILE_SENDCHANGE})"
    ${EndIf}
  ${EndIf}

  !insertmacro DELETE_LINKS
  RMDir "$SMPROGRAMS\quillmere"

  Delete "$INSTDIR\quillmere.scr"
  Delete "$INSTDIR\quillmere.exe"
  Delete "$INSTDIR\README-ja.txt"
  Delete "$INSTDIR\README-en.txt"
  Delete "$INSTDIR\uninstall.exe"
  ${If} ${FileExists} "$INSTDIR\quillmere.ini"
    MessageBox MB_YESNO|MB_ICONQUESTION "$(KeepSettingsText)" /SD IDYES IDYES keep
    Delete "$INSTDIR\quillmere.ini"
    keep:
  ${EndIf}
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
