void f(char *name, const int& count, int *);
