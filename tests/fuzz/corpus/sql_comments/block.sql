a /* it's */ b -- c
 d