void f() {
    try {
        g();
    } catch ( const Error &e ) {
        h(e);
    }
}
