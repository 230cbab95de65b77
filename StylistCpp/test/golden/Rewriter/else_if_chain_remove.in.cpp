const char* name(int k)
{
    if (k == 1) { return "one"; }
    else if (k == 2) { return "two"; }
    else { return "many"; }
    if (k < 0) { return "negative"; }
    else { if (k > 100) return "large"; }
    return "";
}
