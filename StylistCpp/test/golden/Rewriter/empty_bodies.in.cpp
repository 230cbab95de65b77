void idle(int n)
{
    if (n) ;
    if (n) {}
    for (;;) {}
    for (;;) { ; }
    for (;;) {{ n++; }}
}
