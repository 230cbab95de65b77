namespace n {
#if defined(X)
    int a;
#endif
}
