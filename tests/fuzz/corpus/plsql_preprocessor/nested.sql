begin
  $if $$debug is null $then null; $if not false $then x := 'a''$end'; -- $end
  /* $if */ $end $else y := q'[$then]'; $end
end;
