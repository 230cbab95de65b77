class A // the A
{
    int x;
};
