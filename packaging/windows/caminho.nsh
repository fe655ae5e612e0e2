; A silent install asks nothing; "/PATH" on its command line adds the program's folder to the current user's PATH,
; as the options page would, and is written where the uninstaller looks, so that it takes it out again.
${GetParameters} $R0
ClearErrors
${GetOptions} $R0 "/PATH" $R1
IfErrors zorlaSemPath
  StrCpy $DO_NOT_ADD_TO_PATH "0"
  StrCpy $ADD_TO_PATH_CURRENT_USER "1"
  Push "DoNotAddToPath"
  Push "0"
  Call ConditionalAddToRegistry
  Push "AddToPathCurrentUser"
  Push "1"
  Call ConditionalAddToRegistry
zorlaSemPath:
