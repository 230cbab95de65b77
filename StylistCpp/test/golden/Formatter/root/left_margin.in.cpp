int a;
void f()
{
    g();
}
