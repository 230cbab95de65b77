void f() {
    for( int i = 0;  i < n;  ++i ) {}
    for(;;) {
        break;
    }
    for( auto x : v )
        g(x);
}
