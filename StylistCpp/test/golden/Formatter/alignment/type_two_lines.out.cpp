int             a;
unsigned long   b;
char            c;
