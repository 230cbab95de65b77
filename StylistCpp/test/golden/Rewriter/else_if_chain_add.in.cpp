const char* name(int k)
{
    if (k == 1) return "one";
    else if (k == 2) return "two";
    else /* fall back */ if (k == 3) return "three";
    else
        if (k == 4)
            return "four";
    else return "many";
}
