' Lumbrel driven the way a script uses it: CreateObject by ProgID, then
' late-bound calls by name. Exits 0 when every check holds.
Option Explicit
Dim fso, folder, path, f, tag, failures
failures = 0
Sub Check(cond, what)
    If Not cond Then
        WScript.Echo "FAILED: " & what
        failures = failures + 1
    End If
End Sub

Set fso = CreateObject("Scripting.FileSystemObject")
folder = fso.GetSpecialFolder(2) & "\" & fso.GetTempName()
fso.CreateFolder folder
path = folder & "\script.mp3"
Set f = fso.CreateTextFile(path, True)
f.Write String(300, "A")
f.Close

Set tag = CreateObject("Lumbrel.CID3v1")
Check tag.ReadTag(path) = True, "ReadTag of a file without a tag"
Check tag.GetFieldValue(0) = "", "no title yet"
tag.SetFieldValue 0, "Script Title"
tag.SetFieldValue 5, "Jazz"
tag.SetFieldValue 6, 3
Check tag.WriteTag(path) = True, "WriteTag"
Check fso.GetFile(path).Size = 428, "the tag adds 128 bytes"
Set tag = Nothing
Set tag = CreateObject("Lumbrel.CID3v1")
Check tag.ReadTag(path), "ReadTag"
Check tag.GetFieldValue(0) = "Script Title", "title read back"
Check tag.GetFieldValue(5) = "Jazz", "genre read back"
Check tag.GetFieldValue(6) = "03", "track read back"
Check IsEmpty(tag.GetFieldValue(9)), "a field outside the range is Empty"
Check tag.RemoveTag(path) = True, "RemoveTag"
Check fso.GetFile(path).Size = 300, "the tag is gone"
Check tag.ReadTag(folder & "\missing.mp3") = False, "ReadTag of a missing file"
fso.DeleteFolder folder, True
WScript.Echo "script finished"
WScript.Quit failures
