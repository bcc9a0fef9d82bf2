' Discoral driven the way a script uses it: CreateObject by ProgID, then
' late-bound calls by name on members that need no form around them. Both
' queries are pointed at a closed local port, so they end at once. A script
' cannot look into records; it sees their types.
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
shell.RegWrite key & "CDDB Host", "127.0.0.1", "REG_SZ"
shell.RegWrite key & "CDDB Port", 1, "REG_DWORD"
shell.RegWrite key & "Tick Interval", 10, "REG_DWORD"

Set lookup = CreateObject("Discoral.FreeDB")
Check IsEmpty(lookup.StopQuery()), "StopQuery returns an empty variant, also when idle"
found = lookup.QueryTextString("nothing & nobody")
Check VarType(found) = vbArray + 36, "a search returns an array of records, got " & VarType(found)
Check lookup.QueryError = 1 And lookup.QueryHost = "127.0.0.1" And lookup.QueryPort = 1, _
      "the search tells it was refused, and by which server: " & lookup.QueryError & " " & lookup.QueryErrorText
Check VarType(lookup.QueryDiscID("0a0b0c0d", "rock")) = 36, "a disc read returns a record"
Check VarType(lookup.QueryDiscID("not an id", "rock")) = 36, "a refused id returns a record too"
Check lookup.QueryError = 8, "an id that cannot be sent is told as such: " & lookup.QueryError
lookup.StopQuery
Set lookup = Nothing

' The defaults back, as the control writes them on its first read.
shell.RegWrite key & "Search Host", "www.freedb.org", "REG_SZ"
shell.RegWrite key & "Search Port", 80, "REG_DWORD"
shell.RegWrite key & "CDDB Host", "freedb.freedb.org", "REG_SZ"
shell.RegWrite key & "CDDB Port", 8880, "REG_DWORD"
shell.RegWrite key & "Tick Interval", 1000, "REG_DWORD"

If failures = 0 Then WScript.Echo "Discoral script: all checks held"
WScript.Echo "script finished"
WScript.Quit failures
