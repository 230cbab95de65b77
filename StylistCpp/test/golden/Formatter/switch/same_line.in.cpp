void f(int k)
{
    switch (k)
    {
    case 1:
        a();
        break;
    default:
        b();
    }
}
