int sign(int a)
{
    if (a < 0) return -1;
    else if (a == 0) return 0;
    else return 1;
}

void report(bool failed, int code)
{
    if (failed)
        log("failed", code);   // the reason follows
    else
        log("done", 0);
    if (code) { reset(); }
    for (int i = 0; i < code; ++i) tick(i);
    while (busy()) wait();
}
