const char  **names = 0;
int         count   = 2;
long        &ref    = count;
