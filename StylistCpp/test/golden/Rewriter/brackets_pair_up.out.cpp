void f(int a)
{
    while (a) if (a) {x();}
}
while (a) for (}) {y();}
if (a) for (;{) {z();}
void g(int a)
{
    while (a) {
        (;
    }
    x = (1);
    while (a) { a[; }
    b = a[0];
    while (a)  b();
}
