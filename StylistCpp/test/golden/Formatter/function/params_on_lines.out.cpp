void f(int a, // the a
       int b,
       int c);
