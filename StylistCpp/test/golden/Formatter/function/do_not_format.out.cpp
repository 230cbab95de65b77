static   int*   f(int a);
const  char  *g(void) {
    return 0;
}
