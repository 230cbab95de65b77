void f() {
    while (x) y();
    if (a) b();
}
