&&ro
mÿ fÿdþ/@e1
s
