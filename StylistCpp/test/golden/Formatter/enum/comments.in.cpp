enum E { // the values
  A, // first
  B, /* second */
  C
};
