void trace(int level)
{
    if (level > 2)
        write(level,
#ifdef VERBOSE
              detail(),
#endif
              0);
    if (level > 1) // noisy
        write(level, 0);
    while (level--) /* count down */ tick();
#if 0
    if (level) write(0, 0);
#endif
    for (;;)
        step();
}
