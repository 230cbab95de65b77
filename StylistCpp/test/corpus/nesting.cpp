// Deeply nested control statements and dangling-else shapes.
namespace corpus {

void grid(int w, int h, int (*cell)(int, int))
{
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (cell(x, y) > 0) {
                if (cell(x, y) > 10)
                    mark(x, y);
            } else {
                clear(x, y);
            }
        }
    }
    if (w) { if (h) fill(); } else empty();
    if (w) { for (;;) { if (h) break; } } else empty();
    if (w) for (int i = 0; i < w; ++i) { if (h) fill(); } else empty();
    if (w) { while (h) { --h; } } else { empty(); }
    if (w) if (h) fill(); else { if (w > h) shrink(); } else empty();
    while (w--) for (int i = 0; i < h; ++i) if (i % 2) { odd(i); } else { even(i); }
    do { if (w) { --w; } } while (w);
    if (w > 0)
    {
        if (h > 0)
        {
            fill();
        }
        else
        {
            if (h < -10)
            {
                shrink();
            }
        }
    }
    else
    {
        empty();
    }
}

} // namespace corpus
