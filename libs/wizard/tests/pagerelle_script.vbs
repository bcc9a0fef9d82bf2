' Pagerelle driven the way a script uses it: CreateObject by ProgID, then
' late-bound calls by name on members that need no form around them.
' Exits 0 when every check holds.
Option Explicit
Dim bar, page1, page2, failures
failures = 0
Sub Check(cond, what)
    If Not cond Then
        WScript.Echo "FAILED: " & what
        failures = failures + 1
    End If
End Sub

Set bar = CreateObject("Pagerelle.WizardButtons")
Set page1 = CreateObject("Pagerelle.WizardPage")
Set page2 = CreateObject("Pagerelle.WizardPage")

Check bar.Count = 0, "a new bar has no pages"
Check bar.PageNumber = 1, "page number 1 while empty"
Check bar.Exists(1) = False, "nothing exists in an empty bar"
bar.ShowPage 1
Check bar.PageNumber = 1, "ShowPage on an empty bar does nothing"

bar.Add page1, "start"
bar.Add page2
Check bar.Count = 2, "two pages added"
Check bar.PageCount = 2, "PageCount"
Check bar.Exists("START"), "keys ignore case"
Check bar.Exists(3) = False, "no third page"
Check bar.Item(1) Is page1, "Item by position"
Check bar.Item("start") Is page1, "Item by key"
Check bar.Item(7) Is Nothing, "a missing Item is Nothing"

On Error Resume Next
bar.Add page2, "Start"
Check Err.Number = 457, "a key in use fails with 457, got " & Err.Number
Err.Clear
bar.Remove 9
Check Err.Number = 9, "removing a missing position fails with 9, got " & Err.Number
Err.Clear
bar.ButtonCaption(4) = "x"
Check Err.Number = 9, "a button outside 0 to 3 fails, got " & Err.Number
Err.Clear
On Error GoTo 0

bar.ButtonCaption(2) = "&Close"
Check bar.ButtonCaption(2) = "&Close", "caption of Cancel"
Check bar.ButtonCaption(0) = "&Next >", "design caption of Next"
bar.ButtonVisible(3) = False
Check bar.ButtonVisible(0) = False, "ButtonVisible reads the remembered flag"
bar.ButtonEnabled(1) = True
Check bar.ButtonEnabled(2) = True, "ButtonEnabled reads the remembered flag"
bar.DescriptionText = "Step"
Check bar.DescriptionText = "Step", "DescriptionText"
bar.HelpPosition = 3
Check bar.HelpPosition = 3, "HelpPosition"
bar.DisplayPageInfo = True
Check bar.DisplayPageInfo, "DisplayPageInfo"
bar.Clear
Check bar.Count = 0, "Clear empties the bar"

Check page1.Style = 0, "a new page is a banner page"
Check page1.BannerTitle = "Enter New Title", "design title"
Check page1.BannerDescription = "Enter New Title or Description of Action", "design description"
page1.Style = 1
page1.BannerTitle = "File Sorting Wizard"
page1.BannerBackColor = &H00FF00&
page1.BackColor = &H80000005
Check page1.Style = 1, "Style"
Check page1.BannerTitle = "File Sorting Wizard", "BannerTitle"
Check page1.BannerBackColor = &H00FF00&, "BannerBackColor"
Check page1.BackColor = &H80000005, "BackColor"
Check page1.SplashBackColor = &H80000002, "design splash colour"
Check page1.BannerPicture Is Nothing, "no banner picture"

' Pages as plain objects of the script: the bar hides and shows them through
' their Visible, as it does the pages of a form.
Class PlainPage
    Public Visible
End Class
Dim plain1, plain2, plain3
Set plain1 = New PlainPage
Set plain2 = New PlainPage
Set plain3 = New PlainPage
plain1.Visible = True
plain2.Visible = True
plain3.Visible = True
bar.Add plain1
bar.Add plain2
bar.Add plain3
bar.ShowPage 2
Check bar.PageNumber = 2, "ShowPage 2 moves to the second page"
Check plain1.Visible = False And plain2.Visible = True And plain3.Visible = False, _
      "ShowPage 2 shows the second plain page alone, got " & plain1.Visible & plain2.Visible & plain3.Visible
bar.ShowPage 3
Check plain1.Visible = False And plain2.Visible = False And plain3.Visible = True, _
      "ShowPage 3 shows the third plain page alone, got " & plain1.Visible & plain2.Visible & plain3.Visible
bar.Clear

WScript.Echo "script finished"
WScript.Quit failures
