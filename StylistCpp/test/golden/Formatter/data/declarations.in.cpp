int a,b;
const char*   p = "x";
unsigned long   count=0, total =1;
int arr[3] = {1,2,3};
