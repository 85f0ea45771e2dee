' Sales at the counter through Wenlock.WenlockCOM: sell energy to the card on the reader, read the
' card back, show the result codes and the values a sales clerk sees. Run it with the cscript of the
' servers' bitness (32-bit Wenlock.dll: C:\Windows\SysWOW64\cscript.exe on 64-bit Windows):
'
'   cscript //nologo sales.vbs sell <meter kind 0|1|3> <card number> <user number> <energy> <write count>
'   cscript //nologo sales.vbs read [<read mode>]   1 (default): the sale in the write area,
'                                                  0: the meter's or terminal's answer
'   cscript //nologo sales.vbs text <code>           what ReadErrorInfo gives back for a code
'
' Card numbers have 6 characters for meter kind 0 (old control meter), 12 for kind 1 (Q/GDW 130
' terminal) and 8 for kind 3 (GB control meter). Write count 0 opens the account. Ends with
' "sales done" when every call went through; a failed call prints its error and exits with 1.
Option Explicit

Const kPort = "100"

Dim card
Set card = CreateObject("Wenlock.WenlockCOM")

' What a result code means (the README lists the messages).
Function Meaning(code)
  Select Case code
    Case "00", "000": Meaning = "success"
    Case "001": Meaning = "unknown error"
    Case "003": Meaning = "card or meter driver error"
    Case "013": Meaning = "cannot open the reader"
    Case "024": Meaning = "data error"
    Case "034": Meaning = "card not identified"
    Case "038": Meaning = "card area empty (the meter has not answered yet)"
    Case "041": Meaning = "card number does not fit the meter kind"
    Case "044": Meaning = "writing the card failed"
    Case "051": Meaning = "input parameter error"
    Case "060": Meaning = "cannot write the user-number area"
    Case Else: Meaning = "see the result codes in the README"
  End Select
End Function

Sub StopOnError(method)
  If Err.Number <> 0 Then
    WScript.Echo method & " failed: " & Err.Description & " (0x" & Hex(Err.Number) & ")"
    WScript.Quit 1
  End If
End Sub

Sub ShowCode(method, code)
  WScript.Echo method & " errCode = " & code & " (" & Meaning(code) & ")"
End Sub

' Write_Card takes the 72 fields of a sale; a sale reads port, factory, writeNo, cardNo, userNo,
' icKind, buyPower, buyTimes, factor, supCardNum, code1 (meter kind), code2 (user number),
' maxBurden, yConst, wConst, operation, warnPower, code3, warnTime, yBeginNum and wBeginNum; the
' rest may stay empty.
Sub Sell(meterKind, cardNo, userNo, energy, writeNo)
  Dim port, errCode
  port = kPort
  On Error Resume Next
  card.Write_Card port, "A", "", "", writeNo, cardNo, "", "", "", energy, "", "", "", "", "", _
      "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", _
      "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", _
      "", "", "", "", "", "", "", meterKind, userNo, "", "", errCode
  StopOnError "Write_Card"
  On Error GoTo 0
  ShowCode "Write_Card", errCode
End Sub

Sub ReadBack(mode)
  Dim port, names, values, i
  Dim factory, password, cardNo, factor, writeNo, meterKind, meterConst, cardState, leftPower, _
      leftMoney, totalBuy, totalMoney, totalUsed, totalUsedMoney, jPrice, fPrice, pPrice, gPrice, _
      oweMoney, upZeroPower, yJPower, yPPower, yNPower, yVPower, wJPower, wPPower, wNPower, _
      wVPower, lastYJPower, lastYPPower, lastYNPower, lastYVPower, lastWJPower, lastWPPower, _
      lastWNPower, lastWVPower, yNeedIndex, yJNeedIndex, yPNeedIndex, yNNeedIndex, yVNeedIndex, _
      yNeedIndexTime, yJNeedIndexTime, yPNeedIndexTime, yNNeedIndexTime, yVNeedIndexTime, _
      wNeedIndex, wNeedIndexTime, lastYNeedIndex, lastYJNeedIndex, lastYPNeedIndex, _
      lastYNNeedIndex, lastYVNeedIndex, lastYNeedIndexTime, lastYJNeedIndexTime, _
      lastYPNeedIndexTime, lastYNNeedIndexTime, lastYVNeedIndexTime, lastWNeedIndex, _
      lastWNeedIndexTime, code1, code2, code3, code4, errCode
  port = kPort
  code3 = mode
  On Error Resume Next
  card.Read_Card port, factory, password, cardNo, factor, writeNo, meterKind, meterConst, _
      cardState, leftPower, leftMoney, totalBuy, totalMoney, totalUsed, totalUsedMoney, jPrice, _
      fPrice, pPrice, gPrice, oweMoney, upZeroPower, yJPower, yPPower, yNPower, yVPower, wJPower, _
      wPPower, wNPower, wVPower, lastYJPower, lastYPPower, lastYNPower, lastYVPower, lastWJPower, _
      lastWPPower, lastWNPower, lastWVPower, yNeedIndex, yJNeedIndex, yPNeedIndex, yNNeedIndex, _
      yVNeedIndex, yNeedIndexTime, yJNeedIndexTime, yPNeedIndexTime, yNNeedIndexTime, _
      yVNeedIndexTime, wNeedIndex, wNeedIndexTime, lastYNeedIndex, lastYJNeedIndex, _
      lastYPNeedIndex, lastYNNeedIndex, lastYVNeedIndex, lastYNeedIndexTime, lastYJNeedIndexTime, _
      lastYPNeedIndexTime, lastYNNeedIndexTime, lastYVNeedIndexTime, lastWNeedIndex, _
      lastWNeedIndexTime, code1, code2, code3, code4, errCode
  StopOnError "Read_Card"
  On Error GoTo 0
  ShowCode "Read_Card", errCode
  names = Split( _
      "factory password cardNo factor writeNo meterKind meterConst cardState leftPower leftMoney " & _
      "totalBuy totalMoney totalUsed totalUsedMoney jPrice fPrice pPrice gPrice oweMoney " & _
      "upZeroPower yJPower yPPower yNPower yVPower wJPower wPPower wNPower wVPower lastYJPower " & _
      "lastYPPower lastYNPower lastYVPower lastWJPower lastWPPower lastWNPower lastWVPower " & _
      "yNeedIndex yJNeedIndex yPNeedIndex yNNeedIndex yVNeedIndex yNeedIndexTime yJNeedIndexTime " & _
      "yPNeedIndexTime yNNeedIndexTime yVNeedIndexTime wNeedIndex wNeedIndexTime lastYNeedIndex " & _
      "lastYJNeedIndex lastYPNeedIndex lastYNNeedIndex lastYVNeedIndex lastYNeedIndexTime " & _
      "lastYJNeedIndexTime lastYPNeedIndexTime lastYNNeedIndexTime lastYVNeedIndexTime " & _
      "lastWNeedIndex lastWNeedIndexTime code1 code2 code3 code4")
  values = Array(factory, password, cardNo, factor, writeNo, meterKind, meterConst, cardState, _
      leftPower, leftMoney, totalBuy, totalMoney, totalUsed, totalUsedMoney, jPrice, fPrice, _
      pPrice, gPrice, oweMoney, upZeroPower, yJPower, yPPower, yNPower, yVPower, wJPower, wPPower, _
      wNPower, wVPower, lastYJPower, lastYPPower, lastYNPower, lastYVPower, lastWJPower, _
      lastWPPower, lastWNPower, lastWVPower, yNeedIndex, yJNeedIndex, yPNeedIndex, yNNeedIndex, _
      yVNeedIndex, yNeedIndexTime, yJNeedIndexTime, yPNeedIndexTime, yNNeedIndexTime, _
      yVNeedIndexTime, wNeedIndex, wNeedIndexTime, lastYNeedIndex, lastYJNeedIndex, _
      lastYPNeedIndex, lastYNNeedIndex, lastYVNeedIndex, lastYNeedIndexTime, lastYJNeedIndexTime, _
      lastYPNeedIndexTime, lastYNNeedIndexTime, lastYVNeedIndexTime, lastWNeedIndex, _
      lastWNeedIndexTime, code1, code2, code3, code4)
  For i = 0 To UBound(names)
    WScript.Echo "  " & names(i) & " = " & values(i)
  Next
End Sub

Sub ShowText(code)
  Dim text
  On Error Resume Next
  card.ReadErrorInfo code, text
  StopOnError "ReadErrorInfo"
  On Error GoTo 0
  WScript.Echo "ReadErrorInfo " & code & " = " & text
End Sub

Sub Usage()
  WScript.Echo "usage: sales.vbs sell <kind> <card number> <user number> <energy> <write count>"
  WScript.Echo "       sales.vbs read [<read mode>]"
  WScript.Echo "       sales.vbs text <code>"
  WScript.Quit 2
End Sub

Dim args
Set args = WScript.Arguments
If args.Count = 0 Then Usage
Select Case LCase(args(0))
  Case "sell"
    If args.Count <> 6 Then Usage
    Sell args(1), args(2), args(3), args(4), args(5)
  Case "read"
    If args.Count = 1 Then
      ReadBack "1"
    ElseIf args.Count = 2 Then
      ReadBack args(1)
    Else
      Usage
    End If
  Case "text"
    If args.Count <> 2 Then Usage
    ShowText args(1)
  Case Else
    Usage
End Select
WScript.Echo "sales done"
