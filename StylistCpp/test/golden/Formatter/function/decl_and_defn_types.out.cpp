int  f(int a);
int
g(int a) {
    return a;
}
