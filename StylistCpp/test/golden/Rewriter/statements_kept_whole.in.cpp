void setup(List& l)
{
    if (l.empty()) FOREACH(x, l) { init(x); }
    for (int i = 0; i < 2; ++i) struct Pair { int a, b; } p;
    if (l.raw()) __asm nop
    while (l.busy()) { Lock guard(l.mutex()); }
    while (l.dirty()) { int n = l.flush(); }
    for (;;) FOREACH(x, l) use(x);
}
