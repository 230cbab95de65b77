char*name;
int &ref = x;
const char * const text = "t";
