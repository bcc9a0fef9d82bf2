' Discoral driven the way a script uses it: CreateObject by ProgID, then
' late-bound calls by name on members that need no form around them. The
' search is pointed at a closed local port, so it ends at once, empty.
Option Explicit
Dim lookup, shell, key, found, failures
failures = 0
Sub Check(cond, what)
    If Not cond Then
        WScript.Echo "FAILED: " & what
        failures = failures + 1
    End If
End Sub

Set shell = CreateObject("WScript.Shell")
key = "HKCU\Software\Corvella\Options\CDDB\"
shell.RegWrite key & "Search Host", "127.0.0.1", "REG_SZ"
shell.RegWrite key & "Search Port", 1, "REG_DWORD"
shell.RegWrite key & "Tick Interval", 10, "REG_DWORD"

Set lookup = CreateObject("Discoral.FreeDB")
Check IsEmpty(lookup.StopQuery()), "StopQuery returns an empty variant, also when idle"
found = lookup.QueryTextString("nothing & nobody")
Check IsArray(found), "a search returns an array"
Check UBound(found) = -1, "a refused search returns an empty array"
lookup.StopQuery
Set lookup = Nothing

shell.RegDelete key & "Search Host"
shell.RegDelete key & "Search Port"
shell.RegDelete key & "Tick Interval"

If failures = 0 Then WScript.Echo "Discoral script: all checks held"
WScript.Echo "script finished"
WScript.Quit failures
