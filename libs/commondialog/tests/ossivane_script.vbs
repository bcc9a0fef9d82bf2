' Ossivane driven the way a script uses it: CreateObject by ProgID, then
' late-bound calls by name. Exits 0 when every check holds.
' A run-time error would end the script with success: each one is caught
' and counted by the next check instead.
Option Explicit
On Error Resume Next
Dim dlg, g, mem, failures
failures = 0
Sub Check(cond, what)
    If Err.Number <> 0 Then
        WScript.Echo "FAILED: error " & Err.Number & " " & Err.Description & " before " & what
        failures = failures + 1
        Err.Clear
    ElseIf Not cond Then
        WScript.Echo "FAILED: " & what
        failures = failures + 1
    End If
End Sub

Set dlg = CreateObject("Ossivane.cCommonDialog")
Check dlg.FilterIndex = 1, "FilterIndex starts at 1"
Check dlg.CancelError = False, "CancelError starts False"
Check dlg.HookDialog = False, "HookDialog starts False"
Check dlg.Filename = "", "Filename starts empty"
Check dlg.flags = 0, "flags start at 0"
Check dlg.hwnd = 0, "hwnd starts at 0"
Check dlg.FontName <> "", "a font object is made on first use"
dlg.FontBold = True
Check dlg.FontBold = True, "FontBold goes to the font"
dlg.FontSize = 12
Check dlg.FontSize = 12, "FontSize goes to the font"
Check dlg.Font.Bold = True, "the Font object is the same font"
Check dlg.CustomColor(16) = -1, "CustomColor outside 0 to 15"
dlg.CustomColor(2) = 255
Check dlg.CustomColor(2) = 255, "CustomColor stored"
dlg.DialogTitle = "Save Playlist"
Check dlg.DialogTitle = "Save Playlist", "DialogTitle stored"

dlg.HelpCommand = &H201
dlg.ShowHelp
Dim number, source
number = Err.Number
source = Err.Source
Err.Clear
Check number = 13705, "ShowHelp refuses HELP_MULTIKEY"
Check source = "Ossivane.cCommonDialog", "the error's source"

Set g = CreateObject("Ossivane.GCommonDialog")
Check g.APIReturn = 0 And g.ExtendedError = 0, "no call yet"

Set mem = CreateObject("Ossivane.cMemory")
Check mem.Handle = 0 And mem.Pointer = 0 And mem.Size = 0, "no block"
Check mem.AllocateMemory(26), "a zeroed block"
Check mem.Size >= 26, "of the size asked for"
mem.FreeMemory
Check mem.Handle = 0, "freed"
Check True, "the end of the script"
WScript.Quit failures
