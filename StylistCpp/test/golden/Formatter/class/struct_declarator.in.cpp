struct P { int x; int y; } p, q;
union U{int i;float f;};
