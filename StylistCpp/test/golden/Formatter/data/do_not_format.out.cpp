int    a ,b;
static   int c=1;
