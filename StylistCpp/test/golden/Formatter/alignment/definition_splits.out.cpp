int     size();
bool    empty();
void clear() {
    reset();
}
unsigned long   capacity();
int             front();
