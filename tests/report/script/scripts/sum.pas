{ Adds 1 to n and names the result. }
begin
  x := 0;
  for i := 1 to n do
    x := x + i;   // i ends one past n
  s := UpperCase('ok')
end
