' Tesselor driven the way a script uses it: CreateObject by ProgID, then
' late-bound calls by name (the file name goes by reference). Exits 0 when
' every check holds.
Option Explicit
Dim fso, folder, path, f, tag, failures, size0
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
f.Write Chr(255) & Chr(251) & String(398, "B")  ' a frame sync: audio to the library
f.Close
size0 = fso.GetFile(path).Size

Set tag = CreateObject("Tesselor.CID3v2")
Check tag.ReadTag(path) = True, "ReadTag of a file without a tag"
Check tag.GetFrameValue(0) = "", "no title yet"
tag.SetFrameValue 0, "Script Title"
tag.SetFrameValue 4, "A comment"
tag.SetFrameValue 6, "3/12"
tag.SetFrameValue 10, "http://example.invalid/"
Check tag.WriteTag(path) = True, "WriteTag"
Check fso.GetFile(path).Size > size0, "the tag was added in front"
Set tag = Nothing
Set tag = CreateObject("Tesselor.CID3v2")
Check tag.ReadTag(path), "ReadTag"
Check tag.GetFrameValue(0) = "Script Title", "title read back"
Check tag.GetFrameValue(4) = "A comment", "comment read back"
Check tag.GetFrameValue(6) = "03/12", "track read back"
Check tag.GetFrameValue(10) = "http://example.invalid/", "link read back"
Check tag.RemoveTag(path) = True, "RemoveTag"
Check fso.GetFile(path).Size = size0, "the tag is gone, the audio stays"
Check tag.GetFrameValue(0) = "", "RemoveTag empties the frames"
Check tag.ReadTag(folder & "\missing.mp3") = False, "ReadTag of a missing file"
fso.DeleteFolder folder, True
WScript.Echo "script finished"
WScript.Quit failures
