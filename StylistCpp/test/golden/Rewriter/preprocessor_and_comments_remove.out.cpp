void trace(int level)
{
    if (level > 2) {
#ifdef VERBOSE
        write(level, detail());
#endif
    }
    if (level > 1) {
        write(level,
#if defined(COLOR)
              RED
#else
              0
#endif
        );
    }
    if (level > 0) { write(level, 0); // noisy
    }
    while (level--) {
        // count down
        tick();
    }
    for (;;) { /* forever */ }
    for (;;)  step(); // one step
}
