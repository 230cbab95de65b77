int parse(Reader& r)
{
    switch (r.kind()) { default: return 0; }
    try { r.read(); } catch (...) { r.reset(); }
    if (r.safe()) { try { r.read(); } catch (...) { } }
    if (r.ready()) { switch (r.kind()) { case 1: return 1; } }
    return r.value();
}
