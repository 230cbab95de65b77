void f() {
    x=a+b*c;
    g( x,y );
}
