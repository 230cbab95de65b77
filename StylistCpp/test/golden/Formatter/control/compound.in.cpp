void f()
{
    int a;
    {
        int b;
    }
}
