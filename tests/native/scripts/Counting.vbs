Function F()
  F = "from VBScript"
End Function
