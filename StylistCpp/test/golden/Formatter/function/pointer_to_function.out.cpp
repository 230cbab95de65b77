int  (*handler)(int,  char*);
void  (*table[4])(void);
