int first;
unsigned long /* wide */ second;
long third;
