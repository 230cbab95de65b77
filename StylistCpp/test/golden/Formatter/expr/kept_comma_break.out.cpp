// a line break kept after a comma keeps its continuation where it stands relative to the expression, so formatting the output again changes nothing
void f() {
    call(first,
         second);
    if (k) {
        g(aaaa, bbbb,
          cccc);
    }
    h(1,
    2);
}
