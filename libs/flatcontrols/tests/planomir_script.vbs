' Planomir driven the way a script uses it: CreateObject by ProgID, then
' late-bound calls by name, on objects that have no window. Exits 0 when
' every check holds.
Option Explicit
Dim flat, other, failures, r
failures = 0
Sub Check(cond, what)
    If Not cond Then
        WScript.Echo "FAILED: " & what
        failures = failures + 1
    End If
End Sub

Set flat = CreateObject("Planomir.FlatControls")
Set other = CreateObject("Scripting.Dictionary")
Check flat.CreateFlatControls(other) = False, "CreateFlatControls answers False"
Check flat.DestroyFlatControls() = False, "DestroyFlatControls answers False"
Check flat.DestroyFlatControls() = False, "DestroyFlatControls again"

On Error Resume Next
r = flat.CreateSoftBorder(other, True)
Check Err.Number <> 0, "CreateSoftBorder on an object without hwnd raises"
Check Err.Source = "Planomir.FlatControls", "error source: " & Err.Source
Err.Clear
On Error GoTo 0

Set flat = Nothing
WScript.Echo "script finished"
WScript.Quit failures
