begin $if 1 = 1 $then a := 1; $elsif $else $end $end
