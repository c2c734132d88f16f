' Creates the helper by both ProgIDs and prints what getFrames returns for
' pages built with the sample page server: the array's length, then each
' element's document title or "-" for an empty element.
Option Explicit

Function BuildPage(kinds)
    Dim page, kind
    Set page = CreateObject("trevik.SamplePage")
    For Each kind In kinds
        Select Case Left(kind, 1)
            Case "F" page.addFrame Mid(kind, 3)
            Case "P" page.addPlainFrame Mid(kind, 3)
            Case "N" page.addFrameWithoutDocument
            Case "C" page.addControl
        End Select
    Next
    Set BuildPage = page
End Function

Function Describe(progId, kinds)
    Dim helper, items, i, parts
    Set helper = CreateObject(progId)
    items = helper.getFrames(BuildPage(kinds).document)
    parts = ""
    For i = LBound(items) To UBound(items)
        If i > LBound(items) Then parts = parts & "|"
        If IsEmpty(items(i)) Then
            parts = parts & "-"
        Else
            parts = parts & items(i).title
        End If
    Next
    Describe = (UBound(items) - LBound(items) + 1) & " [" & parts & "]"
End Function

Dim pages(3), names(3), progIds, progId, i, line
names(0) = "no frames" : pages(0) = Array()
names(1) = "only controls" : pages(1) = Array("C", "C")
names(2) = "mixed" : pages(2) = Array("C", "F:News", "C", "F:Weather", "F:Sport")
names(3) = "frames without documents" : pages(3) = Array("N", "F:Kept", "N", "P:Plain text")
progIds = Array("trevik.ZuTrevikHelper.1", "trevik.ZuTrevikHelper")

On Error Resume Next
For Each progId In progIds
    For i = 0 To 3
        Err.Clear
        line = Describe(progId, pages(i))
        If Err.Number <> 0 Then line = "error 0x" & LCase(Hex(Err.Number)) & " " & Err.Description
        WScript.Echo "vbs " & progId & " " & names(i) & ": " & line
    Next
Next
WScript.Echo "vbs done"
