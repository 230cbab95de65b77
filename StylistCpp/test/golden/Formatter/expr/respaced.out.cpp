void f() {
    x = a + b * c;
    g (x, y);
    v[i] = -1;
}
