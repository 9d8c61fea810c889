while 1 do x := x + 1
