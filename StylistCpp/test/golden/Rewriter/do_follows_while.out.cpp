void pump(Pipe& p)
{
    do 
        p.pull(); while (p.more());
    while (p.blocked())  p.wait();
    if (p.closed()) { return; }
    for (;;) { p.flush(); }
}
