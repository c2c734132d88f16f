' Usage: cscript //nologo frames.vbs URL
' Opens URL in a browser window, waits until the page has loaded, and prints
' the title of every frame document that getFrames returns for its document.
Option Explicit
If WScript.Arguments.Count <> 1 Then
    WScript.Echo "usage: cscript //nologo frames.vbs URL"
    WScript.Quit 2
End If

Dim browser, helper, frames, frame
Set browser = CreateObject("InternetExplorer.Application")
browser.Navigate WScript.Arguments(0)
Do While browser.Busy Or browser.ReadyState <> 4
    WScript.Sleep 100
Loop

Set helper = CreateObject("trevik.ZuTrevikHelper")
frames = helper.getFrames(browser.Document)
WScript.Echo (UBound(frames) + 1) & " embedded objects:"
For Each frame In frames
    If IsEmpty(frame) Then
        WScript.Echo "  (not a frame with an HTML document)"
    Else
        WScript.Echo "  " & frame.title
    End If
Next
browser.Quit
