' What a script meets of Wenlock.WenlockCOM beyond the sales script's text arguments: ReadErrorInfo
' with a code text, a number and an empty value, and a Read_Card whose port is Null, which fails
' with an error description and leaves errCode empty. Prints "FAIL: ..." for each mismatch and
' "checks done" at the end (a script error would stop it before).
Option Explicit

Dim card, failures
Set card = CreateObject("Wenlock.WenlockCOM")
failures = 0

Sub Check(what, got, expected)
  If VarType(got) <> vbString Or got <> expected Then
    WScript.Echo "FAIL: " & what & " gave [" & got & "] of type " & VarType(got) & _
                 ", expected [" & expected & "]"
    failures = failures + 1
  End If
End Sub

Dim text, neverSet
card.ReadErrorInfo "038", text
Check "ReadErrorInfo ""038""", text, "038"
card.ReadErrorInfo 38, text
Check "ReadErrorInfo 38", text, "38"
card.ReadErrorInfo neverSet, text
Check "ReadErrorInfo Empty", text, ""
card.ReadErrorInfo True, text
Check "ReadErrorInfo True", text, "True"

' Every out argument of the failing read is one variable: only errCode is looked at.
Dim port, o, code3, errCode
port = Null
code3 = "1"
errCode = "untouched"
On Error Resume Next
card.Read_Card port, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, _
    o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, o, _
    o, o, o, o, o, o, code3, o, errCode
If Err.Number = 0 Then
  WScript.Echo "FAIL: Read_Card with a Null port did not fail"
  failures = failures + 1
ElseIf InStr(Err.Description, "port") = 0 Then
  WScript.Echo "FAIL: Read_Card with a Null port described as [" & Err.Description & "]"
  failures = failures + 1
End If
On Error GoTo 0
If Not IsEmpty(errCode) Then
  WScript.Echo "FAIL: errCode after the failed read is [" & errCode & "]"
  failures = failures + 1
End If

If failures = 0 Then WScript.Echo "checks done"
