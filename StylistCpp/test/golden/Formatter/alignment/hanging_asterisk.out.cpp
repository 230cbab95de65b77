unsigned   *values;
int         count;
char       *name;
