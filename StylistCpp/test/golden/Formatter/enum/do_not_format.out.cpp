namespace n {
    enum E { A,
    B = 2,
    C };
}
