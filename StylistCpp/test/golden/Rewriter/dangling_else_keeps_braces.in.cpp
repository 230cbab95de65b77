void route(int a, int b)
{
    if (a) { if (b) send(); } else drop();
    if (a) { for (;;) { if (b) send(); } } else drop();
    if (a) { for (;;) for (;;) if (b) send(); } else drop();
    if (a) { while (b) { send(); } } else drop();
    if (a) { for (;;) { while (b) { if (a) send(); } } } else drop();
    if (a) { if (b) send(); else queue(); } else drop();
    if (a) send(); else { if (b) queue(); }
    if (a) if (b) send(); else { if (a) queue(); } else drop();
    if (a) for (;;) { if (b) send(); } else drop();
}
void stray(int a, int b)
{
    for (;;) { if (b) send(); } else drop();
    for (;;) { send(); } else drop();
}
