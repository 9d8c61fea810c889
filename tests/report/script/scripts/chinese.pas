begin
  s := '甲乙';
  n := LENGTH(s);
  p := POS('乙', s)
end
