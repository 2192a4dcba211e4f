-- headNfg-difg
cre’r2(A)5P0);&&
niec-t-s r2(END)PA;&&
insereg
cre’r2(A)5P0);
&&niestrc --2(END)PA;&&
insereta2(10))P¿¼&&
iÿÿÿÿÿÿÿ--1(18)!PA;&&
insereta2(10))P¿¼&&
iÿÿÿÿÿÿÿ--1ØÎÇÖÞ¯¾¼&&
inserertc --2(