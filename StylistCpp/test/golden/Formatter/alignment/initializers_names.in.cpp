int a = 1;
unsigned long count = 2;
double ratio;
char c = 'x';
