void f(int a)
{
    while (a) {for (;;) {x();}}
}
while (a) for (}) {y();}
if (a) for (;{) {z();}
