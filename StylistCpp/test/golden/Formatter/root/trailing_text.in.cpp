int a;

// end of file
/* really */

