// Both tag libraries as a script calls them, with names the ANSI code page
// lacks (U+0100, A with a macron, whose look-alike is A). Beside each such
// name lies the look-alike's file, which no call may touch. A file that
// exists is reached by its short name; one that does not is refused.
// Exits 0 when every check holds.
var fso = new ActiveXObject("Scripting.FileSystemObject");
var failures = 0;
function check(cond, what) {
    if (!cond) {
        WScript.Echo("FAILED: " + what);
        failures++;
    }
}
// A frame sync and 400 bytes: audio to the tag libraries.
var audio = "\xFF\xFB" + new Array(401).join("B");
function make(path) {
    var f = fso.CreateTextFile(path, true);
    f.Write(audio);
    f.Close();
}
function contents(path) { return fso.OpenTextFile(path).ReadAll(); }

var folder = fso.GetSpecialFolder(2) + "\\" + fso.GetTempName();
fso.CreateFolder(folder);
var macron = String.fromCharCode(0x100);
var other = folder + "\\songA.mp3", beyond = folder + "\\song" + macron + ".mp3";
var missing = folder + "\\gone" + macron + ".mp3", gone = folder + "\\goneA.mp3";
make(other);
make(beyond);
make(gone);

var v1 = new ActiveXObject("Lumbrel.CID3v1"), v2 = new ActiveXObject("Tesselor.CID3v2");
v1.SetFieldValue(0, "Beyond");
v2.SetFrameValue(0, "Beyond");
check(v1.WriteTag(beyond) === true, "ID3v1 WriteTag by the short name");
check(v2.WriteTag(beyond) === true, "ID3v2 WriteTag by the short name");
check(contents(other) === audio, "the look-alike's file is untouched by the writes");
v1 = new ActiveXObject("Lumbrel.CID3v1");
v2 = new ActiveXObject("Tesselor.CID3v2");
check(v1.ReadTag(beyond) && v1.GetFieldValue(0) === "Beyond", "ID3v1 read back");
check(v2.ReadTag(beyond) && v2.GetFrameValue(0) === "Beyond", "ID3v2 read back");
check(v1.RemoveTag(beyond) === true, "ID3v1 RemoveTag by the short name");
check(v2.RemoveTag(beyond) === true, "ID3v2 RemoveTag by the short name");
check(contents(beyond) === audio, "both tags are gone");

// No file, so no short name: refused, and the look-alike's file stays.
v1.SetFieldValue(0, "Nowhere");
v2.SetFrameValue(0, "Nowhere");
var calls = ["WriteTag", "ReadTag", "RemoveTag"];
for (var i = 0; i < calls.length; i++) {
    check(v1[calls[i]](missing) === false, "ID3v1 " + calls[i] + " of a name that reaches nothing");
    check(v2[calls[i]](missing) === false, "ID3v2 " + calls[i] + " of a name that reaches nothing");
}
check(contents(gone) === audio, "the look-alike's file is untouched");
check(!fso.FileExists(missing), "no file was made");

fso.DeleteFolder(folder, true);
WScript.Echo("script finished");
WScript.Quit(failures);
