int f ( int a ,  int b ) {
    return a;
}
void g () ;
static const char *name ( void );
int C::h ( int x )const {
    return x;
}
