namespace n {
        /* a block
           comment */
        int a; /* trailing */
// line
}
