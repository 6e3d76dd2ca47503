x;x;x;x;x
